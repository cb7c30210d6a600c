// Damaged files around the table: each gets its message (or none where a
// file is optional), the program goes on, and a round still plays.
#include "FileBytes.h"
#include "PictureBox.h"
#include "ScreenPlacement.h"
#include "SettingsStore.h"
#include "StrategyWindow.h"
#include "TableFixture.h"
#include "Twips.h"
#include <QRandomGenerator>
#include <QLabel>
#include <QSettings>
#include <QSqlQuery>
#include <QtTest>
#include <optional>
#include <sys/stat.h>

namespace {
QByteArray garbage(int size, quint32 seed)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator random(seed);
    for (char &byte : bytes)
        byte = static_cast<char>(random.bounded(256));
    return bytes;
}

QString settingsFile()
{
    // Asked of the store, which looks before it reads: QSettings would
    // block on a FIFO left there.
    static const QString fileName = SettingsStore().fileName();
    return fileName;
}

void removeSettings()
{
    QFile::remove(settingsFile());
    QDir().rmdir(settingsFile());
}

// Something at `path` that is no small regular file.
void putUnreadable(const QString &path, const QString &kind)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile::remove(path);
    if (kind == QLatin1String("FIFO"))
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));
    else
        writeFile(path, "[Preferences]\nprfPKBackFace=60\n" + QByteArray(";\n").repeated(512 * 1024));
}

void playOneRound(TableFixture &fixture)
{
    MainWindow &table = fixture.table();
    const int bank = table.bank();
    fixture.deal({9, 10, 6, 13});
    table.lblHit_Click();
    QVERIFY(table.roundOver);
    QCOMPARE(table.bank(), bank - 25);
}
}

class TestBadFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { removeSettings(); }
    void cleanup() { removeSettings(); }

    void binaryChartFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("NUL bytes") << QByteArray("H3-8 h,h\0,h\n\0\0\0\nH9 s\n", 22);
        QTest::newRow("random binary") << garbage(4096, 7);
        QTest::newRow("not valid text") << QByteArray("\xff\xfe\xc3\x28 h,s\r\r\n\xe2\x82", 14);
        QTest::newRow("empty") << QByteArray();
    }
    void binaryChartFiles()
    {
        QFETCH(QByteArray, bytes);
        TableFixture fixture;
        writeFile(fixture.folder.filePath(QStringLiteral("bjdata.txt")), bytes);
        writeFile(fixture.folder.filePath(QStringLiteral("bjstrings.txt")), bytes);
        QVERIFY(fixture.open());
        for (const QString &text : fixture.alerts.texts)
            QVERIFY2(text.startsWith(QStringLiteral("Error in import chart ")), qPrintable(text));
        playOneRound(fixture);
    }

    void corruptSoundsAreHarmless()
    {
        TableFixture fixture;
        writeFile(fixture.folder.filePath(QStringLiteral("wavs/deal.wav")), garbage(2000, 3));
        writeFile(fixture.folder.filePath(QStringLiteral("wavs/won.wav")), QByteArray());
        QVERIFY(fixture.open());
        fixture.table().prefs.prfSound = true;
        playOneRound(fixture);
        fixture.deal({5, 1, 13, 10, 2});
        QVERIFY(!fixture.table().sounds.lastStarted().endsWith(QStringLiteral("won.wav")));
        QVERIFY(fixture.alerts.texts.isEmpty());
    }

    void garbageSettingsStillOpenAndAreRewrittenClean()
    {
        QDir().mkpath(QFileInfo(settingsFile()).path());
        QByteArray stored = "[Preferences]\nprfPKBackFace=99999999999\nprfScrollVal=&HFFFFFFFFF\n"
                            "prfChartX=-7e300\nprfAnimationDelay=--3\nprfSound=False\nprfSound=True\nno equals sign\n[broken\n";
        stored += garbage(500, 5);
        writeFile(settingsFile(), stored);
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        QCOMPARE(table.prefs.prfPKBackFace, 65);
        QCOMPARE(table.prefs.prfScrollVal, int16_t(0));
        for (const QString &text : fixture.alerts.texts)
            QVERIFY2(text.startsWith(QStringLiteral("initialize")), qPrintable(text));
        playOneRound(fixture);
        fixture.alerts.texts.clear();
        table.close();
        QVERIFY(fixture.alerts.texts.isEmpty()); // the save went well, so nothing is said
        QSettings reread(QStringLiteral("Vantrel"), QStringLiteral("Vantrel"));
        QCOMPARE(reread.value(QStringLiteral("Preferences/prfPKBackFace")).toString(), QStringLiteral("65"));
        QCOMPARE(reread.value(QStringLiteral("Preferences/prfScrollVal")).toString(), QStringLiteral("0"));
    }

    // Anything at the settings path that is not a small regular file is left
    // unread (a FIFO would block the start), said once, and replaced at exit
    // where that can be done.
    void unreadableSettingsOrHelp_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("problem");
        QTest::newRow("FIFO") << "FIFO" << "Not a regular file";
        QTest::newRow("folder") << "folder" << "Not a regular file";
        QTest::newRow("over 1 MB") << "large" << "File larger than 1 MB";
    }

    void unreadableSettingsOrHelp()
    {
        QFETCH(QString, kind);
        QFETCH(QString, problem);
        putUnreadable(settingsFile(), kind);
        TableFixture fixture;
        putUnreadable(fixture.folder.filePath(QStringLiteral("vantrel.hlp")), kind);
        QVERIFY(fixture.open());
        fixture.table().mnuContents_Click();
        QCOMPARE(fixture.alerts.texts, (QStringList{
            QStringLiteral("The settings file %1 cannot be read (%2); the default preferences are used.").arg(settingsFile(), problem),
            QStringLiteral("The help file vantrel.hlp cannot be read (%1).").arg(problem)}));
        QVERIFY(!fixture.table().findChild<QWidget *>(QStringLiteral("helpWindow"))->isVisible());
        QCOMPARE(fixture.table().prefs.prfPKBackFace, 65);
        fixture.alerts.texts.clear();
        fixture.table().close();
        const bool folder = kind == QLatin1String("folder");
        QCOMPARE(fixture.alerts.texts, folder ? QStringList{QStringLiteral("Error  in  Form_Unload (  Permission denied  )")}
                                              : QStringList());
        QCOMPARE(QFileInfo(settingsFile()).isFile() && QFileInfo(settingsFile()).size() < 1000, !folder);
        QCOMPARE(QDir(QFileInfo(settingsFile()).path()).entryList(QDir::Files | QDir::System).size(), folder ? 0 : 1);
    }

    // The chart is checked once read; the window's wording, here with a
    // byte-order mark, is read whatever the chart held.
    void damagedChartIsNamedAndTheWindowStillReads()
    {
        TableFixture fixture;
        const QString data = fixture.folder.filePath(QStringLiteral("bjdata.txt"));
        const QString strings = fixture.folder.filePath(QStringLiteral("bjstrings.txt"));
        writeFile(strings, "\xEF\xBB\xBF" + readFile(strings));
        writeFile(data, "H3-8 h,h,H,h\n");
        QVERIFY(fixture.open());
        QCOMPARE(fixture.alerts.texts, QStringList{QStringLiteral(
            "Error in import chart bjdata.txt line 1, column 10: \"H\" is not one of h, s, d, p")});
        QCOMPARE(fixture.table().frmStrings->findChild<QLabel *>(QStringLiteral("lblPlayerHand_0"))->text(),
                 QStringLiteral("8 or less"));
    }

    // A short chart row is named; a decision the tutor has no advice for is
    // left out of the record rather than counted as a mistake.
    void shortChartRowIsNamedAndItsDecisionsNotRecorded()
    {
        QTemporaryDir record;
        const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", record.path().toLocal8Bit());
        {
            TableFixture fixture;
            const QString data = fixture.folder.filePath(QStringLiteral("bjdata.txt"));
            QByteArray chart = readFile(data);
            QVERIFY(chart.startsWith("H3-8    h,h,h,h,h,h,h,h,h,h\n"));
            writeFile(data, chart.replace("H3-8    h,h,h,h,h,h,h,h,h,h", "H3-8    h,h,h"));
            QVERIFY(fixture.open());
            QCOMPARE(fixture.alerts.texts, QStringList{QStringLiteral(
                "Error in import chart bjdata.txt line 1, column 14: the row has 3 of its 10 codes")});
            MainWindow &table = fixture.table();
            fixture.deal({7, 2, 3, 4, 10, 10}); // hard 5 against a 7: the cell left out
            QCOMPARE(table.theBestPlay, QString());
            table.lblHit_Click();
            QCOMPARE(table.theBestPlay, QStringLiteral("h")); // hard 9 against a 7
            table.lblHit_Click();
            table.lblStand_Click(); // 19 against 17
            QVERIFY(table.roundOver);
            QSqlQuery query(table.training.session().database().connection());
            QVERIFY(query.exec(QStringLiteral("SELECT hand_cards || '|' || action || '|' || advice FROM decisions")));
            QStringList decisions;
            while (query.next())
                decisions << query.value(0).toString();
            QCOMPARE(decisions, (QStringList{QStringLiteral("2,3,4|h|h"), QStringLiteral("2,3,4,10|s|s")}));
        }
        qputenv("XDG_DATA_HOME", dataHome);
    }

    void unloadableBannersAreSaidOnceAndSkipped_data()
    {
        QTest::addColumn<QString>("broken");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QList<int>>("skipped"); // picCtr n shows n.gif, 0 the last 9.gif
        QTest::newRow("missing") << "1.gif" << QStringList{"rotatebannerFile not found: pics/1.gif"} << QList<int>{1};
        QTest::newRow("corrupt, shown twice a cycle") << "9.gif"
            << QStringList{"rotatebannerInvalid picture: pics/9.gif"} << QList<int>{9, 0};
        QStringList all;
        QList<int> numbers;
        for (int number = 1; number <= 15; ++number) {
            all << QStringLiteral("rotatebannerFile not found: pics/%1.gif").arg(number);
            numbers << number;
        }
        QTest::newRow("none at all") << "*.gif" << all << numbers;
    }

    void unloadableBannersAreSaidOnceAndSkipped()
    {
        QFETCH(QString, broken);
        QFETCH(QList<int>, skipped);
        TableFixture fixture;
        for (const QString &name : QDir(fixture.folder.filePath("pics")).entryList({broken})) {
            QFile::remove(fixture.folder.filePath("pics/" + name));
            if (broken == QLatin1String("9.gif"))
                writeFile(fixture.folder.filePath("pics/" + name), garbage(3000, 11));
        }
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        const QImage before = table.picStatusBar->image().toImage();
        QSet<int> kept;
        for (int tick = 0; tick < 4 * 33; ++tick) { // two cycles and more
            table.rotatebanner();
            kept << table.picCtr;
        }
        QTEST(fixture.alerts.texts, "messages");
        QSet<int> expected{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
        QCOMPARE(kept, expected - QSet<int>(skipped.begin(), skipped.end()));
        QCOMPARE(table.picStatusBar->image().toImage() == before, skipped.size() == 15);
    }

    // A background smaller than the table's layout would leave the bank
    // and the buttons out of reach.
    void tooSmallBackgroundIsRefused()
    {
        for (const QSize size : {QSize(100, 60), QSize(639, 400), QSize(640, 399)}) {
            TableFixture fixture;
            QImage picture(size, QImage::Format_RGB32);
            picture.fill(Qt::darkGreen);
            QVERIFY(picture.save(fixture.folder.filePath(QStringLiteral("pics/bjwood.jpg")), "JPG"));
            QVERIFY(!fixture.open());
            QCOMPARE(fixture.alerts.texts, QStringList{QStringLiteral("The background file bjwood.jpg is %1 x %2 pixels, "
                "smaller than the table's 640 x 400").arg(size.width()).arg(size.height())});
            QVERIFY(!fixture.table().isVisible());
        }
    }

    // Title bars that no screen shows are placed as if nothing were stored.
    void placement_data()
    {
        QTest::addColumn<int>("left"); // -1: not stored
        QTest::addColumn<int>("top");
        QTest::addColumn<QPoint>("placed");
        const QPoint byDefault(50, 60);
        QTest::newRow("on the second screen") << 1700 << 700 << QPoint(1700, 700);
        QTest::newRow("below the first, beside the second") << 100 << 650 << byDefault;
        QTest::newRow("left only") << 30 << -1 << QPoint(30, 60);
        QTest::newRow("100 px of the bar on a screen") << -300 << 0 << QPoint(-300, 0);
        QTest::newRow("99 px") << -301 << 0 << byDefault;
        QTest::newRow("half the bar's height") << 0 << -12 << QPoint(0, -12);
        QTest::newRow("less than half") << 0 << -13 << byDefault;
    }

    void placement()
    {
        QFETCH(int, left);
        QFETCH(int, top);
        auto stored = [](int value) { return value == -1 ? std::nullopt : std::optional<int>(value); };
        QTEST(ScreenPlacement::place(stored(left), stored(top), 400, QPoint(50, 60), {QRect(0, 0, 800, 600), QRect(800, 0, 1024, 768)}),
              "placed");
    }

    // Through the windows, from the store: a place on screen stays exactly
    // as stored; a lost one, or a missing coordinate, is the default (-1).
    void storedPlacesOfBothWindows_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QPoint>("main"); // twips
        QTest::addColumn<QPoint>("chart");
        QTest::newRow("on screen") << QByteArray("prfMainScreenX=1500\nprfMainScreenY=3000\nprfChartX=4500\nprfChartY=600")
                                   << QPoint(1500, 3000) << QPoint(4500, 600);
        QTest::newRow("above and far right") << QByteArray("prfMainScreenX=1500\nprfMainScreenY=-300000\nprfChartX=2147483647")
                                             << QPoint(-1, -1) << QPoint(-1, -1);
        QTest::newRow("one coordinate each") << QByteArray("prfMainScreenX=1500\nprfChartY=600")
                                             << QPoint(1500, -1) << QPoint(-1, 600);
    }

    void storedPlacesOfBothWindows()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QPoint, main);
        QFETCH(QPoint, chart);
        QPoint mainDefault, chartDefault;
        {
            TableFixture unset;
            QVERIFY(unset.open());
            mainDefault = unset.table().pos();
            chartDefault = unset.table().frmStrings->pos();
        }
        QDir().mkpath(QFileInfo(settingsFile()).path());
        writeFile(settingsFile(), "[Preferences]\n" + stored);
        TableFixture fixture;
        QVERIFY(fixture.open());
        const QScreen *screen = fixture.table().screen();
        auto expected = [screen](const QPoint &twips, const QPoint &byDefault) {
            return QPoint(twips.x() == -1 ? byDefault.x() : Twips::toPixels(twips.x(), screen),
                          twips.y() == -1 ? byDefault.y() : Twips::toPixels(twips.y(), screen));
        };
        QCOMPARE(fixture.table().pos(), expected(main, mainDefault));
        QCOMPARE(fixture.table().frmStrings->pos(), expected(chart, chartDefault));
    }
};

QTEST_MAIN(TestBadFiles)
#include "test_badfiles.moc"
