#include "StatisticsWindow.h"
#include "Alert.h"
#include "CloseKeys.h"
#include "CountText.h"
#include "MistakeMap.h"
#include "RulesCaption.h"
#include "RulesText.h"
#include "TrainingSession.h"
#include "TrendPlot.h"
#include <QDir>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

namespace {
QString tallyText(const QString &title, const HistoryStatistics::Tally &tally)
{
    QString text = QStringLiteral("<b>%1:</b> %2, %3 % as advised, %4 chips lost to mistakes")
                       .arg(title, CountText::of(tally.decisions, QStringLiteral("decision"), QStringLiteral("decisions")))
                       .arg(100.0 * tally.accuracy(), 0, 'f', 1)
                       .arg(tally.cost, 0, 'f', 1);
    if (tally.offChart)
        text += QStringLiteral(", %1 off-chart, better here").arg(tally.offChart);
    return text;
}

// "Vantrel table", "6 decks, S17, DAS, 3:2, late surrender" ...
QString tableName(const QString &rulesText)
{
    const std::optional<GameRules> rules = RulesText::parse(rulesText.toStdString());
    return rules ? QString::fromStdString(RulesCaption::shortName(*rules)) : rulesText;
}

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(QStringLiteral("<b>%1</b>").arg(text), parent);
    label->setWordWrap(true);
    return label;
}
}

StatisticsWindow::StatisticsWindow(TrainingSession &session, QWidget *parent)
    : QWidget(parent, Qt::Window), session(session),
      exportFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
{
    setObjectName(QStringLiteral("frmStatistics"));
    setWindowTitle(QStringLiteral("Vantrel Statistics"));
    CloseKeys::attach(this);
    // The strategy window's face and colours.
    QFont face(QStringLiteral("DejaVu Sans"));
    face.setPointSizeF(9);
    setFont(face);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    confirm = [this](const QString &question) {
        return QMessageBox::question(this, QStringLiteral("Vantrel"), question) == QMessageBox::Yes;
    };

    accuracy = new QLabel(this);
    accuracy->setObjectName(QStringLiteral("lblAccuracy"));
    mistakeMap = new MistakeMap(this);
    costliest = new QLabel(this);
    costliest->setObjectName(QStringLiteral("lblCostliest"));
    costliest->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    detail = new QLabel(QStringLiteral("Point at or click a cell of the map for its figures."), this);
    detail->setObjectName(QStringLiteral("lblCellDetail"));
    detail->setWordWrap(true);
    detail->setMinimumHeight(detail->fontMetrics().height() * 4);
    detail->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    trend = new TrendPlot(this);
    auto *exportButton = new QPushButton(QStringLiteral("Export CSV..."), this);
    exportButton->setObjectName(QStringLiteral("cmdExport"));
    resetButton = new QPushButton(QStringLiteral("Reset History..."), this);
    resetButton->setObjectName(QStringLiteral("cmdReset"));
    auto *closeButton = new QPushButton(QStringLiteral("Close"), this);
    includeFlash = new QCheckBox(QStringLiteral("Include flash drill answers"), this);
    includeFlash->setObjectName(QStringLiteral("chkFlash"));
    includeFlash->setChecked(true);
    tables = new QComboBox(this);
    tables->setObjectName(QStringLiteral("cboTable"));
    tables->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto *tableLabel = new QLabel(QStringLiteral("&Table:"), this);
    tableLabel->setBuddy(tables);

    auto *side = new QVBoxLayout;
    side->addWidget(heading(QStringLiteral("Costliest cells: chips lost per 100 decisions at a 25-chip stake,"
                                           " among cells played %1 times or more")
                                .arg(HistoryStatistics::rankedDecisions),
                            this));
    side->addWidget(costliest);
    side->addWidget(heading(QStringLiteral("Cell"), this));
    side->addWidget(detail);
    side->addStretch();
    side->addWidget(heading(QStringLiteral("Trend by session"), this));
    side->addWidget(trend);
    auto *middle = new QHBoxLayout;
    auto *mapColumn = new QVBoxLayout;
    mapColumn->addWidget(heading(QStringLiteral("Mistake map (chips lost)"), this));
    mapColumn->addWidget(mistakeMap);
    middle->addLayout(mapColumn);
    middle->addLayout(side, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(exportButton);
    buttons->addWidget(resetButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto *tableRow = new QHBoxLayout;
    tableRow->addWidget(tableLabel);
    tableRow->addWidget(tables);
    tableRow->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(tableRow);
    layout->addWidget(accuracy);
    layout->addWidget(includeFlash);
    layout->addLayout(middle);
    layout->addLayout(buttons);

    connect(mistakeMap, &MistakeMap::cellClicked, this, &StatisticsWindow::showCell);
    connect(exportButton, &QPushButton::clicked, this, &StatisticsWindow::exportClicked);
    connect(resetButton, &QPushButton::clicked, this, [this] { resetHistory(); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(includeFlash, &QCheckBox::toggled, this, &StatisticsWindow::refresh);
    connect(tables, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { showTable(tables->itemData(index).toString()); });
    showTable(session.table());
}

void StatisticsWindow::showTable(const QString &rulesText)
{
    stats.table = rulesText;
    refresh();
}

void StatisticsWindow::showEvent(QShowEvent *event)
{
    // Whatever the record holds, the window fits the screen it opens on.
    if (const QScreen *at = screen())
        setMaximumSize(at->availableGeometry().size());
    QWidget::showEvent(event);
}

void StatisticsWindow::refresh()
{
    // The tables in the record, and the one played and the one shown though
    // they hold nothing yet.
    std::vector<QString> listed = HistoryStatistics::tables(session.database().connection());
    for (const QString &text : {session.table(), stats.table})
        if (std::find(listed.begin(), listed.end(), text) == listed.end())
            listed.push_back(text);
    const QSignalBlocker quiet(tables);
    tables->clear();
    for (const QString &text : listed)
        tables->addItem(tableName(text), text);
    tables->setCurrentIndex(tables->findData(stats.table));
    // Flash drill answers are the program's table's alone.
    includeFlash->setVisible(!ChartRows::forTable(stats.table).isCasino());

    stats = session.statistics(includeFlash->isChecked(), stats.table);
    mistakeMap->setStatistics(&stats);
    trend->setStatistics(&stats);
    accuracy->setText(accuracyText());
    costliest->setText(costliestText());
    resetButton->setEnabled(session.database().isRecording());
}

QString StatisticsWindow::accuracyText() const
{
    QString text = tallyText(QStringLiteral("This session"), stats.thisSession) + QStringLiteral("<br>")
                   + tallyText(QStringLiteral("All time"), stats.allTime);
    if (stats.damagedRows)
        text += QStringLiteral("<br>") + CountText::of(stats.damagedRows, QStringLiteral("damaged row"), QStringLiteral("damaged rows"))
                + QStringLiteral(" ignored");
    if (!session.database().isRecording())
        text += QStringLiteral("<br>Not recording: ") + session.database().problem() + QLatin1Char('.');
    return text;
}

QString StatisticsWindow::costliestText() const
{
    QStringList lines;
    for (const ChartCell &cell : stats.costliest(listedCells, HistoryStatistics::rankedDecisions)) {
        const HistoryStatistics::Tally &tally = stats.cell(cell).tally;
        lines << QStringLiteral("%1  %2 (%3)")
                     .arg(stats.cell(cell).costPer100(), 6, 'f', 1)
                     .arg(stats.rows.cellName(cell), CountText::of(tally.decisions, QStringLiteral("decision"), QStringLiteral("decisions")));
    }
    return lines.isEmpty() ? QStringLiteral("No cell played %1 times or more has lost chips yet.")
                                 .arg(HistoryStatistics::rankedDecisions)
                           : lines.join(QLatin1Char('\n'));
}

QString StatisticsWindow::detailText() const
{
    return detail->text();
}

void StatisticsWindow::showCell(const ChartCell &cell)
{
    detail->setText(mistakeMap->describe(cell));
}

void StatisticsWindow::exportClicked()
{
    const QString fileName = QFileDialog::getSaveFileName(this, QStringLiteral("Export Decisions"),
                                                          QDir(exportFolder).filePath(QStringLiteral("vantrel-decisions.csv")),
                                                          QStringLiteral("CSV files (*.csv)"));
    if (fileName.isEmpty())
        return;
    const QString problem = exportTo(fileName);
    if (!problem.isEmpty())
        Alert::show(QStringLiteral("The decisions could not be written to %1: %2.").arg(fileName, problem));
}

QString StatisticsWindow::exportTo(const QString &fileName)
{
    exportFolder = QFileInfo(fileName).absolutePath();
    return session.database().exportCsv(fileName);
}

bool StatisticsWindow::resetHistory()
{
    if (!confirm(QStringLiteral("Delete every recorded decision and hand? This cannot be undone.")))
        return false;
    const bool done = session.reset();
    refresh();
    return done;
}
