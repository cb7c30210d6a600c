#include "CasinoTable.h"
#include "CardLibrary.h"
#include "CasinoChartPlay.h"
#include "CasinoChartWording.h"
#include "ClockSeededRandom.h"
#include "HandsLayout.h"
#include "MainWindow.h"
#include "OddsLine.h"
#include "PictureBox.h"
#include "ProgramFolder.h"
#include "RulesCaption.h"
#include "RulesText.h"
#include "ShuffledShoeSource.h"
#include "StoredTableRules.h"
#include "StrategyWindow.h"
#include "TableKeys.h"
#include "TableLayout.h"
#include "TableRulesDialog.h"
#include "TableSurface.h"
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {
constexpr QRgb white = 0xFFFFFF;
constexpr int stakeChips = 25;
constexpr int halvesPerTenth = stakeChips * 2 / CasinoRound::stake; // a tenth of the stake is 2.5 chips
constexpr int startingBankHalves = 2000;
// The player's hands: a row for each hand's total and outcome above the cards.
constexpr QRect playerArea{30, 230, 440, 122};
constexpr int labelRow = 18;
constexpr int frameRoom = 4; // beside the hands, for the active hand's frame
constexpr int dealerWidth = 220;
constexpr int flipFrameMs = 8;

const char *codeOf(CasinoRound::Action action)
{
    switch (action) {
    case CasinoRound::Action::Hit: return "h";
    case CasinoRound::Action::Stand: return "s";
    case CasinoRound::Action::Double: return "d";
    case CasinoRound::Action::Split: return "p";
    case CasinoRound::Action::Surrender: return "r";
    }
    return "";
}

QString nameOf(CasinoRound::Action action)
{
    switch (action) {
    case CasinoRound::Action::Hit: return QStringLiteral("Hit");
    case CasinoRound::Action::Stand: return QStringLiteral("Stand");
    case CasinoRound::Action::Double: return QStringLiteral("Double");
    case CasinoRound::Action::Split: return QStringLiteral("Split");
    case CasinoRound::Action::Surrender: return QStringLiteral("Surrender");
    }
    return QString();
}

// Chips from halves of a chip: "1037.5", "-12.5", "25".
QString chipsText(int halves)
{
    const QString sign = halves < 0 ? QStringLiteral("-") : QString();
    const int magnitude = std::abs(halves);
    return sign + QString::number(magnitude / 2) + (magnitude % 2 ? QStringLiteral(".5") : QString());
}

struct Mark {
    QString text;
    QColor colour;
};

Mark markOf(const CasinoRound::PlayerHand &hand)
{
    using Outcome = CasinoRound::Outcome;
    switch (hand.outcome) {
    case Outcome::Won: return {QStringLiteral("WIN"), QColor(120, 230, 120)};
    case Outcome::Natural: return {QStringLiteral("BLACKJACK"), QColor(255, 215, 94)};
    case Outcome::Pushed: return {QStringLiteral("PUSH"), QColor(230, 230, 230)};
    case Outcome::Lost: return {QStringLiteral("LOSE"), QColor(255, 140, 140)};
    case Outcome::Busted: return {QStringLiteral("BUST"), QColor(255, 140, 140)};
    case Outcome::Surrendered: return {QStringLiteral("SURRENDER"), QColor(255, 190, 140)};
    case Outcome::Open: break;
    }
    if (hand.finished && hand.total() > 21)
        return {QStringLiteral("BUST"), QColor(255, 140, 140)};
    return {};
}
} // namespace

CasinoTable::CasinoTable(MainWindow &window)
    : QObject(&window), window(window), random(std::make_unique<ClockSeededRandom>()),
      ownSource(std::make_unique<ShuffledShoeSource>(*random)), source(ownSource.get())
{
}

CasinoTable::~CasinoTable() = default;

void CasinoTable::useShoeSource(ShoeSource &stacked)
{
    source = &stacked;
}

void CasinoTable::attach(QMenu *game)
{
    QAction *entry = game->addAction(QStringLiteral("Table &Rules..."));
    entry->setObjectName(QStringLiteral("mnuTableRules"));
    connect(entry, &QAction::triggered, this, &CasinoTable::chooseRules);

    surrenderLabel = new QLabel(window.table);
    surrenderLabel->setObjectName(QStringLiteral("lblSurrender"));
    surrenderLabel->setGeometry(TableLayout::surrenderButton);
    surrenderLabel->setCursor(Qt::PointingHandCursor);
    surrenderLabel->setMouseTracking(true);
    surrenderLabel->setAttribute(Qt::WA_NoMousePropagation);
    surrenderLabel->installEventFilter(this);
    surrenderLabel->hide();
    surrenderFrame = new QFrame(window.table);
    surrenderFrame->setObjectName(QStringLiteral("shpSurrender"));
    surrenderFrame->setGeometry(TableLayout::surrenderButton.adjusted(-4, -4, 4, 4));
    surrenderFrame->setStyleSheet(window.Shape[0]->styleSheet());
    surrenderFrame->setAttribute(Qt::WA_TransparentForMouseEvents);
    surrenderFrame->hide();
    // One button is framed at a time: a move anywhere else takes this frame away.
    connect(window.table, &TableSurface::mouseMoved, this, &CasinoTable::hideSurrenderFrame);
    for (QWidget *other : {window.lblHit, window.lblStand, window.lblDouble, window.lblSplit})
        other->installEventFilter(this);

    new TableKeys(&window, window.table,
                  {{Qt::Key_Y, [this] { answerInsurance(true); }},
                   {Qt::Key_I, [this] { answerInsurance(true); }},
                   {Qt::Key_R, [this] { play(Action::Surrender); }}});
}

bool CasinoTable::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != surrenderLabel && event->type() == QEvent::MouseMove)
        hideSurrenderFrame();
    if (watched == surrenderLabel) {
        if (event->type() == QEvent::MouseMove && !window.roundOver && window.actionEnabled && currentRound
            && currentRound->allows(Action::Surrender)) {
            window.hideShapes();
            surrenderFrame->show();
        } else if (event->type() == QEvent::MouseButtonPress
                   && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            play(Action::Surrender);
        }
    }
    return QObject::eventFilter(watched, event);
}

void CasinoTable::hideSurrenderFrame()
{
    if (surrenderFrame)
        surrenderFrame->hide();
}

void CasinoTable::load()
{
    programFelt = window.thePic;
    const StoredTableRules::Table stored = StoredTableRules::load();
    rules = stored.rules;
    window.training.setRules(rules);
    if (isOn())
        switchOn();
}

void CasinoTable::chooseRules()
{
    if (window.isBusy())
        return;
    TableRulesDialog dialog(rules, &window);
    // The same table chosen again keeps its round and bank.
    if (dialog.exec() != QDialog::Accepted || RulesText::format(dialog.chosen()) == RulesText::format(rules))
        return;
    sitAt(dialog.chosen());
}

void CasinoTable::sitAt(const GameRules &newRules)
{
    const bool wasOn = isOn();
    rules = newRules;
    StoredTableRules::save(rules);
    window.training.setRules(rules);
    window.roundOver = true;
    window.nextRoundDue = false;
    currentRound.reset();
    // The abandoned round's totals go with its cards.
    window.lblDealer->setText(QStringLiteral("0"));
    window.lblPlayer->setText(QStringLiteral("0"));
    if (isOn())
        switchOn();
    else if (wasOn)
        switchOff();
    // A new table, a new bank.
    setBank(startingBankHalves);
}

void CasinoTable::switchOn()
{
    deriveChart();
    engine = std::make_unique<CasinoEngine>(rules);
    dealingShoe = std::make_unique<DealingShoe>(rules.decks, *source);
    currentRound.reset();

    QPixmap felt(ProgramFolder::file(QStringLiteral("pics"), QStringLiteral("casino.jpg")));
    if (felt.isNull())
        felt = programFelt;
    {
        QPainter painter(&felt);
        // Without surrender the fifth button is not there: the program's felt is plain there.
        const QRect button = TableLayout::surrenderButton.adjusted(-6, -6, 6, 6);
        if (!rules.lateSurrender)
            painter.drawPixmap(button.topLeft(), programFelt, button);
        painter.setRenderHint(QPainter::TextAntialiasing);
        QFont font(QStringLiteral("DejaVu Serif Condensed"));
        font.setPixelSize(10);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(QColor(226, 198, 122, 170));
        painter.drawText(TableLayout::feltCaption, Qt::AlignCenter, QString::fromStdString(RulesCaption::felt(rules)));
    }
    window.thePic = felt;
    window.lblPlayer->hide();
    window.lblBankPlayer->hide();
    surrenderLabel->setVisible(rules.lateSurrender);
    window.resetGraphics();
    window.frmStrings->setChart(wording);
    window.frmStrings->setOdds(QString());
    window.setStatus(QStringLiteral("Click the deck to deal at this table"));
}

void CasinoTable::switchOff()
{
    engine.reset();
    dealingShoe.reset();
    window.thePic = programFelt;
    window.lblPlayer->show();
    window.lblBankPlayer->show();
    surrenderLabel->hide();
    hideSurrenderFrame();
    window.placeHandAreas();
    window.resetGraphics();
    window.frmStrings->setChart(window.chart);
    window.frmStrings->setOdds(QString());
    window.setStatus(QStringLiteral("Click the deck to deal at the Vantrel table"));
}

void CasinoTable::deriveChart()
{
    // Under a second, but long enough to be seen.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    casinoChart = cache.chartFor(rules);
    QApplication::restoreOverrideCursor();
    const auto lines = CasinoChartWording::of(casinoChart);
    for (int i = 0; i < CasinoChartWording::lines; ++i) {
        wording.chartStrings[i][0] = QString::fromStdString(lines[i][0]);
        wording.chartStrings[i][1] = QString::fromStdString(lines[i][1]);
    }
}

QString CasinoTable::bankText() const
{
    return chipsText(bankHalves);
}

void CasinoTable::setBank(int halves)
{
    bankHalves = halves;
    window.lblBank->setText(chipsText(halves));
}

QRect CasinoTable::handsArea() const
{
    return QRect(0, labelRow, playerArea.width(), playerArea.height() - labelRow);
}

HandsLayout CasinoTable::handsLayout(const std::vector<int> &cards) const
{
    return HandsLayout(cards, playerArea.width() - 2 * frameRoom, QSize(window.cWidth, window.cHeight), window.cardSpace,
                       frameRoom);
}

void CasinoTable::paintCardAt(QPainter &painter, const QRect &place, int code, int mode) const
{
    if (place.width() == window.cWidth) {
        cdtDraw(painter, place.x(), place.y(), code, mode, white);
        return;
    }
    QPixmap card(window.cWidth, window.cHeight);
    card.fill(Qt::transparent);
    cdtDraw(&card, 0, 0, code, mode, white);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(place, card);
}

void CasinoTable::paintHands()
{
    PictureBox *box = window.picPlayerHand;
    box->copyFrom(cleanTable, playerArea);
    if (!currentRound) {
        box->refresh();
        return;
    }
    const auto &hands = currentRound->hands();
    const HandsLayout layout = handsLayout(shownCards);
    const QRect cards = handsArea();
    QPainter painter(&box->image());
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    const bool several = hands.size() > 1;
    for (std::size_t i = 0; i < hands.size(); ++i) {
        const int hand = static_cast<int>(i);
        for (int card = 0; card < shownCards[i]; ++card) {
            QRect place = layout.cardRect(hand, card);
            place.moveTop(cards.bottom() + 1 - place.height());
            paintCardAt(painter, place, hands[i].cards[card].cardIndex, 0);
        }
        const QRect spread = layout.handRect(hand).translated(0, cards.bottom() + 1 - layout.handRect(hand).height());
        const bool active = several && currentRound->phase() == CasinoRound::Phase::PlayerTurn
            && currentRound->activeHand() == hand;
        if (active) {
            painter.setPen(QPen(QColor(255, 226, 122), 3));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(QRectF(spread).adjusted(-3, -3, 3, 3), 6, 6);
        }
        // The hand's total and stake, or once settled its outcome and result.
        const Mark mark = markOf(hands[i]);
        Hand seen = hands[i].cards; // the total of the cards that have landed
        seen.truncate(shownCards[i]);
        const QRect row(spread.left() - 10, 0, spread.width() + 20, labelRow);
        painter.setPen(QColor(0, 0, 0, 160));
        QString text = mark.text.isEmpty()
            ? QStringLiteral("%1  $%2").arg(handTotal(seen)).arg(hands[i].wager() * stakeChips / CasinoRound::stake)
            : mark.text;
        if (hands[i].outcome != CasinoRound::Outcome::Open)
            text += QStringLiteral(" ") + (hands[i].result > 0 ? QStringLiteral("+") : QString())
                  + chipsText(hands[i].result * halvesPerTenth);
        painter.drawText(row.translated(1, 1), Qt::AlignCenter, text);
        painter.setPen(mark.text.isEmpty() ? (active ? QColor(255, 226, 122) : QColor(Qt::white)) : mark.colour);
        painter.drawText(row, Qt::AlignCenter, text);
    }
    painter.end();
    box->refresh();
}

void CasinoTable::paintDealer()
{
    PictureBox *box = window.picComputerHand;
    box->copyFrom(cleanTable, box->geometry());
    if (currentRound) {
        const Hand &dealer = currentRound->dealerCards();
        QPainter painter(&box->image());
        for (int card = 0; card < dealerShown; ++card) {
            const bool faceDown = card == 1 && !holeTurned;
            paintCardAt(painter, QRect(card * window.cardSpace, 0, window.cWidth, window.cHeight),
                        faceDown ? window.prefs.prfPKBackFace : dealer[card].cardIndex, faceDown ? 1 : 0);
        }
    }
    box->refresh();
    int total = 0;
    if (currentRound && dealerShown > 0) {
        Hand seen = currentRound->dealerCards();
        seen.truncate(holeTurned ? dealerShown : 1);
        total = handTotal(seen);
    }
    window.lblDealer->setText(QString::number(total));
}

void CasinoTable::flyToHand(int hand, int card)
{
    std::vector<int> counts = shownCards;
    counts[static_cast<std::size_t>(hand)] = card + 1;
    const HandsLayout layout = handsLayout(counts);
    const QRect cards = handsArea();
    const QRect place = layout.cardRect(hand, card);
    // The card flies at full size: it lands inside the area, and smaller cards are drawn once it is there.
    const QPoint target = playerArea.topLeft()
        + QPoint(std::min(place.x(), playerArea.width() - window.cWidth), cards.bottom() + 1 - window.cHeight);
    window.prepareMovingCard();
    window.paintMovingCard(currentRound->hands()[static_cast<std::size_t>(hand)].cards[card].cardIndex, 0);
    window.AnimateCard(window.picAnimate->x(), window.picAnimate->y(), target.x(), target.y(), 1,
                       window.prefs.prfPKBackFace, 1);
    shownCards[static_cast<std::size_t>(hand)] = card + 1;
    paintHands();
    window.picPlayerHand->show();
    window.picComputerHand->show();
}

void CasinoTable::flyToDealer(int card, bool faceDown)
{
    const QPoint target = window.picComputerHand->pos() + QPoint(card * window.cardSpace, 0);
    window.prepareMovingCard();
    if (faceDown)
        window.paintMovingCard(window.prefs.prfPKBackFace, 1);
    else
        window.paintMovingCard(currentRound->dealerCards()[card].cardIndex, 0);
    window.AnimateCard(window.picAnimate->x(), window.picAnimate->y(), target.x(), target.y(), 1,
                       window.prefs.prfPKBackFace, 1);
    dealerShown = card + 1;
    paintDealer();
    window.picPlayerHand->show();
    window.picComputerHand->show();
}

void CasinoTable::turnHoleCard()
{
    // The back narrows to its middle, the face widens from there and settles
    // into place: as many frames as the program's table takes.
    PictureBox *box = window.picComputerHand;
    const Card hole = currentRound->dealerCards()[1];
    const int w = window.cWidth;
    const int h = window.cHeight;
    auto frame = [&](int code, int mode, int width, int shift) {
        holeTurned = false;
        dealerShown = 1;
        paintDealer();
        QPainter painter(&box->image());
        paintCardAt(painter, QRect(window.cardSpace + shift + (w - width) / 2, 0, std::max(1, width), h), code, mode);
        painter.end();
        box->repaint();
        window.shortDelay(flipFrameMs);
    };
    for (int width = w; width > 0; width -= 5)
        frame(window.prefs.prfPKBackFace, 1, width, 0);
    for (int width = 1; width < w; width += 5)
        frame(hole.cardIndex, 0, width, 0);
    for (int shift = 10; shift >= 1; --shift)
        frame(hole.cardIndex, 0, w, shift);
    holeTurned = true;
    dealerShown = 2;
    paintDealer();
}

void CasinoTable::deal()
{
    window.resetGraphics();
    window.picPlayerHand->setGeometry(playerArea);
    window.picComputerHand->resize(dealerWidth, window.cHeight);
    cleanTable = window.table->image().copy();
    window.hideShapes();
    hideSurrenderFrame();
    window.actionEnabled = false;
    window.canDouble = window.canSplit = false;
    mistakes = 0;
    window.frmStrings->setOdds(QString());
    window.lblDealer->setText(QStringLiteral("0"));

    ++roundSerial;
    // A drill orders the whole shoe for its weak spot just before the deal.
    window.training.startShoeRound(*dealingShoe);
    currentRound = std::make_unique<CasinoRound>(rules, *dealingShoe);
    shownCards.assign(1, 0);
    dealerShown = 0;
    holeTurned = false;
    paintHands();
    paintDealer();
    if (currentRound->shuffledBeforeDeal()) {
        window.showmessage(QStringLiteral("Shuffling.."));
        window.shortDelay(1000);
    }
    window.setStatus(QStringLiteral("Dealing.."));
    window.roundOver = false;

    const bool hole = !rules.noHoleCard;
    window.shortDelay(200);
    for (int i = 0; i < 2; ++i) {
        if (i == 0 || hole)
            flyToDealer(i, i == 1);
        window.sounds.playsound(QStringLiteral("deal.wav"));
        flyToHand(0, i);
    }
    catchUp();
}

void CasinoTable::catchUp()
{
    const auto &hands = currentRound->hands();
    for (std::size_t i = 0; i < hands.size(); ++i) {
        for (int card = shownCards[i]; card < hands[i].cards.count(); ++card)
            flyToHand(static_cast<int>(i), card);
        // A split hand that busts is marked at once; the next hand waits a moment.
        if (hands[i].finished && hands[i].total() > 21 && hands.size() > 1
            && currentRound->phase() == CasinoRound::Phase::PlayerTurn && static_cast<int>(i) + 1 == currentRound->activeHand()
            && shownCards[i + 1] == 1) {
            window.shortDelay(1000);
        }
    }
    const Hand &dealer = currentRound->dealerCards();
    if (currentRound->holeCardShown() && !holeTurned && dealer.count() >= 2) {
        if (rules.noHoleCard) {
            flyToDealer(1, false);
            holeTurned = true;
        } else {
            turnHoleCard();
        }
    }
    holeTurned = holeTurned || currentRound->holeCardShown();
    for (int card = dealerShown; card < dealer.count(); ++card)
        flyToDealer(card, false);
    paintDealer();
    if (currentRound->phase() == CasinoRound::Phase::Over)
        settle();
    else
        prompt();
}

QString CasinoTable::advice() const
{
    if (!currentRound || currentRound->phase() != CasinoRound::Phase::PlayerTurn)
        return QString();
    return QLatin1String(codeOf(CasinoChartPlay::action(casinoChart, *currentRound)));
}

std::optional<ActionOdds> CasinoTable::odds() const
{
    const auto &hands = currentRound->hands();
    const int active = currentRound->activeHand();
    const CasinoRound::PlayerHand &hand = hands[static_cast<std::size_t>(active)];
    CasinoEngine::Position position;
    for (int i = 0; i < hand.cards.count(); ++i)
        position.cards.push_back(cardValue(hand.cards[i]));
    position.hands = static_cast<int>(hands.size());
    position.hand = active;
    position.splitAces = hand.splitAces;
    const CasinoEngine::Values values = engine->values(currentRound->unseen(), cardValue(currentRound->upCard()), position);
    // Split aces dealt another ace only stand or split: the odds line has no place without Hit.
    if (!values.canHit)
        return std::nullopt;
    ActionOdds odds;
    odds.stand = values.stand * stakeChips;
    odds.hit = values.hit * stakeChips;
    if (values.canDouble)
        odds.doubleDown = values.doubleDown * stakeChips;
    if (values.canSplit)
        odds.split = values.split * stakeChips;
    if (values.canSurrender)
        odds.surrender = values.surrender * stakeChips;
    if (currentRound->phase() == CasinoRound::Phase::Insurance) {
        // Half the stake, paid 2:1 when the hole card is a ten.
        const Shoe unseen = currentRound->unseen();
        const double ten = double(unseen.count(10)) / unseen.total;
        odds.insurance = stakeChips / 2.0 * (3.0 * ten - 1.0);
    }
    return odds;
}

void CasinoTable::noteDecision(Action action)
{
    const std::optional<ActionOdds> values = odds();
    if (!values)
        return;
    const CasinoRound::PlayerHand &hand = currentRound->hands()[static_cast<std::size_t>(currentRound->activeHand())];
    DecisionValues::Decision decision;
    decision.situation.playerHand = hand.cards;
    decision.situation.upCard = currentRound->upCard();
    decision.situation.stake = stakeChips;
    decision.odds = *values;
    decision.hand = currentRound->activeHand();
    decision.surrender = decision.odds.surrender;
    decision.canDouble = currentRound->allows(Action::Double);
    decision.canSplit = currentRound->allows(Action::Split);
    decision.action = *codeOf(action);
    decision.advice = advice().toLatin1().at(0);
    decision.adviceAlways = window.prefs.prfAlwaysShowBestPlay;
    window.training.decide(decision);
}

void CasinoTable::showOdds(const QString &stoppedChoice)
{
    const std::optional<ActionOdds> values = odds();
    if (!values) {
        window.frmStrings->setOdds(QString());
        return;
    }
    const QString chartAdvice = currentRound->phase() == CasinoRound::Phase::Insurance ? QString() : advice();
    window.frmStrings->setOdds(OddsLine::text(*values, stakeChips, chartAdvice, stoppedChoice));
}

void CasinoTable::showAdviceLine()
{
    if (currentRound->phase() != CasinoRound::Phase::PlayerTurn)
        return;
    const CasinoRound::PlayerHand &hand = currentRound->hands()[static_cast<std::size_t>(currentRound->activeHand())];
    const int row = CasinoChart::handRow(hand.cards, currentRound->allows(Action::Split));
    if (row >= 0)
        window.frmStrings->ShowStrategy(static_cast<int16_t>(CasinoChartWording::lineOf(row)));
}

void CasinoTable::prompt()
{
    mistakes = 0;
    if (currentRound->phase() == CasinoRound::Phase::Insurance) {
        window.setStatus(QStringLiteral("Insurance?  Y or N"));
        if (window.prefs.prfAlwaysShowBestPlay)
            showOdds();
        return;
    }
    window.actionEnabled = true;
    window.canDouble = currentRound->allows(Action::Double);
    window.canSplit = currentRound->allows(Action::Split);
    paintHands();
    if (window.prefs.prfAlwaysShowBestPlay) {
        showAdviceLine();
        showOdds();
        const QString code = advice();
        for (Action action : currentRound->allowedActions())
            if (code == QLatin1String(codeOf(action)))
                window.setStatus(nameOf(action) + QStringLiteral(".."));
        return;
    }
    window.frmStrings->setOdds(QString());
    QStringList names;
    for (Action action : currentRound->allowedActions())
        names << nameOf(action);
    const QString last = names.takeLast();
    window.setStatus(names.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last + QStringLiteral(".."));
}

bool CasinoTable::tutorAllows(const QString &code)
{
    const QString expected = currentRound->phase() == CasinoRound::Phase::Insurance ? QStringLiteral("n") : advice();
    if (window.prefs.prfAlwaysShowBestPlay || code == expected)
        return true;
    ++mistakes;
    if (mistakes > 1) {
        mistakes = 0;
        return true;
    }
    // Stopped once, with the advice and what the choice costs.
    if (expected == QLatin1String("n")) {
        window.setStatus(QStringLiteral("Should decline insurance.."));
    } else {
        showAdviceLine();
        for (Action action : {Action::Hit, Action::Stand, Action::Double, Action::Split, Action::Surrender})
            if (expected == QLatin1String(codeOf(action)))
                window.setStatus(QStringLiteral("Should ") + nameOf(action) + QStringLiteral(".."));
    }
    showOdds(code);
    window.sounds.playsound(QStringLiteral("wrong2.wav"));
    return false;
}

bool CasinoTable::play(Action action)
{
    if (!isOn())
        return false;
    // Keys and clicks that arrive inside a wait are ignored, as at the program's table.
    if (window.isBusy())
        return true;
    window.untilClosed([this, action] { carryOut(action); });
    return true;
}

void CasinoTable::carryOut(Action action)
{
    if (!currentRound || currentRound->phase() != CasinoRound::Phase::PlayerTurn)
        return;
    if (!currentRound->allows(action)) {
        if (action == Action::Double)
            window.showmessage(QStringLiteral("Doubling is not allowed here.."));
        else if (action == Action::Split)
            window.showmessage(QStringLiteral("Can only split a pair, up to %1 hands").arg(rules.splitHands));
        else if (action == Action::Surrender)
            window.showmessage(rules.lateSurrender ? QStringLiteral("Surrender only on the first two cards..")
                                                   : QStringLiteral("No surrender at this table.."));
        return;
    }
    window.setStatus(QString());
    noteDecision(action);
    if (!tutorAllows(QLatin1String(codeOf(action))))
        return;
    MainWindow::Busy busy(window);
    window.hideShapes();
    hideSurrenderFrame();
    window.actionEnabled = false;
    const int active = currentRound->activeHand();
    const std::size_t handsBefore = currentRound->hands().size();
    currentRound->act(action);
    if (currentRound->hands().size() > handsBefore) {
        // The pair's second card moves over to start the new hand.
        shownCards.insert(shownCards.begin() + active + 1, 1);
        shownCards[static_cast<std::size_t>(active)] = 1;
        paintHands();
    }
    catchUp();
}

bool CasinoTable::answerInsurance(bool take)
{
    if (!isOn() || !currentRound || currentRound->phase() != CasinoRound::Phase::Insurance)
        return false;
    if (!window.isBusy())
        window.untilClosed([this, take] { takeInsuranceAnswer(take); });
    return true;
}

void CasinoTable::takeInsuranceAnswer(bool take)
{
    if (!tutorAllows(take ? QStringLiteral("i") : QStringLiteral("n")))
        return;
    MainWindow::Busy busy(window);
    currentRound->insure(take);
    window.setStatus(take ? QStringLiteral("Insured..") : QStringLiteral("No insurance.."));
    catchUp();
}

void CasinoTable::settle()
{
    window.actionEnabled = false;
    window.canDouble = window.canSplit = false;
    window.frmStrings->setOdds(QString());
    const auto &hands = currentRound->hands();
    int bankAfter = bankHalves;
    for (std::size_t i = 0; i < hands.size(); ++i) {
        settled.push_back({roundSerial, static_cast<int>(i), hands[i].result});
        // The insurance bet goes with the first hand, so that the record's
        // hands add up to the bank.
        const int halves = (hands[i].result + (i == 0 ? currentRound->insuranceResult() : 0)) * halvesPerTenth;
        bankAfter += halves;
        window.training.handSettled(halves / 2.0, bankAfter / 2.0, i + 1 == hands.size());
    }
    setBank(bankHalves + currentRound->bankChange() * halvesPerTenth);
    paintHands();

    using Outcome = CasinoRound::Outcome;
    const int change = currentRound->bankChange() * halvesPerTenth;
    const bool dealerBust = handTotal(currentRound->dealerCards()) > 21;
    QString message;
    if (hands.size() > 1) {
        message = change > 0 ? QStringLiteral("You win ") + chipsText(change)
            : change < 0      ? QStringLiteral("You lose ") + chipsText(-change)
                              : QStringLiteral("Push..(a tie)");
    } else {
        switch (hands[0].outcome) {
        case Outcome::Natural: message = QStringLiteral("Blackjack"); break;
        case Outcome::Won: message = dealerBust ? QStringLiteral("Dealer busts, you win") : QStringLiteral("You win"); break;
        case Outcome::Pushed: message = QStringLiteral("Push..(a tie)"); break;
        case Outcome::Busted: message = QStringLiteral("You bust..dealer wins"); break;
        case Outcome::Surrendered: message = QStringLiteral("Surrendered..half the stake back"); break;
        case Outcome::Lost:
            message = currentRound->dealerNatural() ? QStringLiteral("Dealer has Blackjack") : QStringLiteral("Dealer wins");
            break;
        case Outcome::Open: break;
        }
    }
    if (hands.size() == 1 && hands[0].outcome == Outcome::Natural)
        window.sounds.playsound(QStringLiteral("won.wav"));
    window.roundOver = true;
    window.showmessage(message);
    window.dealNextRoundIfAuto();
}
