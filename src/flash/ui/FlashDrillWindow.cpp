#include "FlashDrillWindow.h"
#include "Clock.h"
#include "FlashCardView.h"
#include "HistoryDatabase.h"
#include "OddsLine.h"
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

namespace {
struct ActionKey {
    char code;
    Qt::Key key;
    const char *caption;
};
const ActionKey actionKeys[] = {
    {'h', Qt::Key_H, "&Hit"}, {'s', Qt::Key_S, "&Stand"}, {'d', Qt::Key_D, "&Double"}, {'p', Qt::Key_P, "S&plit"}};

QString percent(int part, int whole)
{
    return whole ? QString::number(100.0 * part / whole, 'f', 0) + QStringLiteral(" %") : QStringLiteral("-");
}
}

FlashDrillWindow::FlashDrillWindow(const FlashTable &table, HistoryDatabase &record, RandomSource &random, Clock &clock,
                                   QWidget *parent)
    : QWidget(parent, Qt::Window), flash(table, record, random), history(record), clock(clock)
{
    setObjectName(QStringLiteral("frmFlash"));
    setWindowTitle(QStringLiteral("Vantrel Flash Drill"));
    setFocusPolicy(Qt::StrongFocus);
    QFont face(QStringLiteral("DejaVu Sans"));
    face.setPointSizeF(10);
    setFont(face);

    auto *choiceRow = new QHBoxLayout;
    choices = new QButtonGroup(this);
    for (int kind = 0; kind < FlashChoice::kinds; ++kind) {
        auto *button = new QPushButton(QStringLiteral("%1  %2").arg(kind + 1).arg(FlashChoice::name(FlashChoice::Kind(kind))), this);
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        choices->addButton(button, kind);
        choiceRow->addWidget(button);
    }
    connect(choices, &QButtonGroup::idClicked, this, [this](int kind) { choose(FlashChoice::Kind(kind)); });

    cards = new FlashCardView(this);
    auto *actionRow = new QHBoxLayout;
    for (std::size_t i = 0; i < actionButtons.size(); ++i) {
        const ActionKey &key = actionKeys[i];
        actionButtons[i] = new QPushButton(QLatin1String(key.caption), this);
        actionButtons[i]->setFocusPolicy(Qt::NoFocus);
        actionButtons[i]->setMinimumHeight(34);
        actionRow->addWidget(actionButtons[i]);
        connect(actionButtons[i], &QPushButton::clicked, this, [this, code = key.code] { answer(code); });
    }

    verdict = new QLabel(this);
    verdict->setObjectName(QStringLiteral("lblVerdict"));
    QFont big = face;
    big.setPointSizeF(15);
    big.setBold(true);
    verdict->setFont(big);
    detail = new QLabel(this);
    detail->setObjectName(QStringLiteral("lblFlashDetail"));
    detail->setWordWrap(true);
    detail->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    detail->setMinimumHeight(detail->fontMetrics().lineSpacing() * 5);
    detail->setTextFormat(Qt::RichText);
    figures = new QLabel(this);
    figures->setObjectName(QStringLiteral("lblFlashFigures"));
    figures->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choiceRow);
    layout->addWidget(cards, 0, Qt::AlignHCenter);
    layout->addLayout(actionRow);
    layout->addWidget(verdict);
    layout->addWidget(detail, 1);
    layout->addWidget(figures);
    setMinimumWidth(600);

    nextTimer.setSingleShot(true);
    nextTimer.setInterval(nextCardDelay);
    connect(&nextTimer, &QTimer::timeout, this, &FlashDrillWindow::nextCard);
    choose(FlashChoice::All);
}

void FlashDrillWindow::choose(FlashChoice::Kind kind)
{
    choices->button(kind)->setChecked(true);
    flash.choose(kind);
    nextCard();
}

void FlashDrillWindow::nextCard()
{
    nextTimer.stop();
    const FlashCard &card = flash.deal();
    cards->setCard(card);
    for (std::size_t i = 0; i < actionButtons.size(); ++i)
        actionButtons[i]->setEnabled(flash.awaitingAnswer() && card.allows(actionKeys[i].code));
    verdict->clear();
    detail->setText(flash.hasCards() ? QString()
                                     : QStringLiteral("The strategy chart has no plays for these hands, so there is "
                                                      "nothing to drill. Check bjdata.txt beside the program."));
    showFigures();
    shownAt = clock.elapsedSeconds();
}

void FlashDrillWindow::answer(char action)
{
    const std::optional<FlashVerdict> judged = flash.answer(action, clock.elapsedSeconds() - shownAt);
    if (!judged)
        return;
    for (QPushButton *button : actionButtons)
        button->setEnabled(false);
    showVerdict(*judged);
    showFigures();
    if (judged->right())
        nextTimer.start();
}

void FlashDrillWindow::showVerdict(const FlashVerdict &judged)
{
    const FlashJudge &judge = flash.judge();
    const QString play = FlashJudge::actionName(judged.chartPlay);
    verdict->setText(judged.right() ? QStringLiteral("Right: ") + play
                                    : QStringLiteral("Wrong: the chart plays ") + play);
    verdict->setStyleSheet(judged.right() ? QStringLiteral("color: rgb(20, 120, 40);")
                                          : QStringLiteral("color: rgb(180, 30, 30);"));
    QStringList lines;
    lines << flash.card().cell.name() + QStringLiteral(". Chart: ") + judge.lineText(judged.chartLine).toHtmlEscaped();
    // Rich text folds runs of blanks; the values keep their gaps.
    lines << OddsLine::text(judged.odds, FlashJudge::stake, QString(QLatin1Char(judged.chartPlay)))
                 .toHtmlEscaped()
                 .replace(QStringLiteral("  "), QStringLiteral("&nbsp;&nbsp; "))
                 .replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    const QString cost = FlashJudge::costText(judged);
    if (!cost.isEmpty())
        lines << QStringLiteral("<b>%1.</b>").arg(cost.toHtmlEscaped());
    lines << QStringLiteral("<i>%1</i>").arg(judged.right() ? QStringLiteral("Next card in a moment, or press any key.")
                                                            : QStringLiteral("Press any key for the next card."));
    detail->setText(lines.join(QStringLiteral("<br>")));
}

void FlashDrillWindow::showFigures()
{
    QString text = QStringLiteral("Streak %1    Accuracy %2 (%3 of %4)    Median answer %5 s    In box 1: %6 of %7 cells")
                       .arg(flash.streak())
                       .arg(percent(flash.rightAnswers(), flash.answered()))
                       .arg(flash.rightAnswers())
                       .arg(flash.answered())
                       .arg(flash.medianSeconds(), 0, 'f', 1)
                       .arg(flash.cellsInFirstBox())
                       .arg(flash.cellCount());
    if (!history.isRecording())
        text += QStringLiteral("    Not recording: ") + history.problem();
    figures->setText(text);
}

QString FlashDrillWindow::verdictText() const
{
    return verdict->text();
}

QString FlashDrillWindow::detailText() const
{
    return detail->text();
}

QString FlashDrillWindow::figuresText() const
{
    return figures->text();
}

void FlashDrillWindow::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        close();
        return;
    }
    if (event->isAutoRepeat() || event->modifiers().testAnyFlags(Qt::ControlModifier | Qt::AltModifier))
        return QWidget::keyPressEvent(event);
    if (key >= Qt::Key_1 && key < Qt::Key_1 + FlashChoice::kinds) {
        choose(FlashChoice::Kind(key - Qt::Key_1));
        return;
    }
    if (flash.awaitingAnswer()) {
        for (const ActionKey &action : actionKeys)
            if (key == action.key)
                answer(action.code);
        return;
    }
    // Any other key moves on, a lone Shift or the like aside.
    if (key != Qt::Key_Shift && key != Qt::Key_Control && key != Qt::Key_Alt && key != Qt::Key_Meta)
        nextCard();
}
