// Damaged files around the table: each gets its message (or none where a
// file is optional), the program goes on, and a round still plays.
#include "PictureBox.h"
#include "ScreenPlacement.h"
#include "SettingsStore.h"
#include "StrategyWindow.h"
#include "Twips.h"
#include "TableFixture.h"
#include <QRandomGenerator>
#include <QLabel>
#include <QSettings>
#include <QtTest>
#include <optional>
#include <sys/stat.h>

namespace {
void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

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
    // by this run's preferences where that can be done.
    void settingsThatCannotBeRead_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<bool>("replacedAtExit");
        QTest::newRow("FIFO") << "fifo" << "Not a regular file" << true;
        QTest::newRow("folder") << "folder" << "Not a regular file" << false;
        QTest::newRow("over 1 MB") << "large" << "File larger than 1 MB" << true;
    }

    void settingsThatCannotBeRead()
    {
        QFETCH(QString, kind);
        QFETCH(QString, problem);
        QFETCH(bool, replacedAtExit);
        QDir().mkpath(QFileInfo(settingsFile()).path());
        if (kind == QLatin1String("fifo"))
            QCOMPARE(mkfifo(QFile::encodeName(settingsFile()).constData(), 0600), 0);
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(settingsFile()));
        else
            writeFile(settingsFile(), "[Preferences]\nprfPKBackFace=60\n" + QByteArray(";\n").repeated(512 * 1024));
        TableFixture fixture;
        QVERIFY(fixture.open());
        QCOMPARE(fixture.alerts.texts, QStringList{QStringLiteral("The settings file %1 cannot be read (%2); the default "
                                                                  "preferences are used.").arg(settingsFile(), problem)});
        QCOMPARE(fixture.table().prefs.prfPKBackFace, 65);
        fixture.alerts.texts.clear();
        fixture.table().close();
        const QFileInfo after(settingsFile());
        if (replacedAtExit) {
            QVERIFY(fixture.alerts.texts.isEmpty());
            QVERIFY(after.isFile() && after.size() < 1000);
            QSettings reread(settingsFile(), QSettings::IniFormat);
            QCOMPARE(reread.value(QStringLiteral("Preferences/prfPKBackFace")).toString(), QStringLiteral("65"));
        } else {
            QCOMPARE(fixture.alerts.texts, QStringList{QStringLiteral("Error  in  Form_Unload (  Permission denied  )")});
            QVERIFY(after.isDir());
        }
        QCOMPARE(QDir(after.path()).entryList(QDir::Files | QDir::System | QDir::Hidden).size(), replacedAtExit ? 1 : 0);
    }

    void helpThatCannotBeRead_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("problem");
        QTest::newRow("FIFO") << "fifo" << "Not a regular file";
        QTest::newRow("over 1 MB") << "large" << "File larger than 1 MB";
    }

    void helpThatCannotBeRead()
    {
        QFETCH(QString, kind);
        QFETCH(QString, problem);
        TableFixture fixture;
        const QString help = fixture.folder.filePath(QStringLiteral("vantrel.hlp"));
        QFile::remove(help);
        if (kind == QLatin1String("fifo"))
            QCOMPARE(mkfifo(QFile::encodeName(help).constData(), 0600), 0);
        else
            writeFile(help, "<p>" + QByteArray(1024 * 1024, 'x'));
        QVERIFY(fixture.open());
        fixture.table().mnuContents_Click();
        QCOMPARE(fixture.alerts.texts,
                 QStringList{QStringLiteral("The help file vantrel.hlp cannot be read (%1).").arg(problem)});
        QVERIFY(!fixture.table().findChild<QWidget *>(QStringLiteral("helpWindow"))->isVisible());
    }

    // The chart is checked once read, and the window's wording is read
    // whatever the chart held.
    void damagedChartIsNamedAndTheWindowStillReads()
    {
        TableFixture fixture;
        const QString data = fixture.folder.filePath(QStringLiteral("bjdata.txt"));
        const QString strings = fixture.folder.filePath(QStringLiteral("bjstrings.txt"));
        QFile shipped(data);
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        const QByteArray rows = shipped.readAll();
        shipped.close();
        writeFile(data, "H3-8 h,h,H,h,h,h,h,h,h,h\n" + rows.mid(rows.indexOf('\n') + 1) + "1010 s\n");
        QFile wording(strings);
        QVERIFY(wording.open(QIODevice::ReadOnly));
        writeFile(strings, "\xEF\xBB\xBF" + wording.readAll());
        QVERIFY(fixture.open());
        QCOMPARE(fixture.alerts.texts, QStringList{QStringLiteral(
            "Error in import chart bjdata.txt line 1, column 10: \"H\" is not one of h, s, d, p")});
        auto caption = [&fixture](const char *name) {
            return fixture.table().frmStrings->findChild<QLabel *>(QLatin1String(name))->text();
        };
        QCOMPARE(caption("lblPlayerHand_0"), QStringLiteral("8 or less"));
        QVERIFY(caption("lblAction_20").size() > 1);
    }

    void unloadableBannersAreSaidOnceAndSkipped_data()
    {
        QTest::addColumn<QStringList>("missing");
        QTest::addColumn<QStringList>("corrupt");
        QTest::addColumn<QStringList>("messages");
        const QString notFound = QStringLiteral("rotatebannerFile not found: pics/%1");
        QStringList all;
        for (int number = 1; number <= 15; ++number)
            all << QStringLiteral("%1.gif").arg(number);
        QStringList allMessages;
        for (const QString &name : all)
            allMessages << notFound.arg(name);
        QTest::newRow("first missing") << QStringList{"1.gif"} << QStringList()
                                       << QStringList{notFound.arg("1.gif")};
        QTest::newRow("corrupt") << QStringList() << QStringList{"2.gif"}
                                 << QStringList{QStringLiteral("rotatebannerInvalid picture: pics/2.gif")};
        QTest::newRow("shown twice a cycle") << QStringList{"9.gif"} << QStringList()
                                             << QStringList{notFound.arg("9.gif")};
        QTest::newRow("none at all") << all << QStringList() << allMessages;
    }

    void unloadableBannersAreSaidOnceAndSkipped()
    {
        QFETCH(QStringList, missing);
        QFETCH(QStringList, corrupt);
        TableFixture fixture;
        for (const QString &name : missing)
            QFile::remove(fixture.folder.filePath(QStringLiteral("pics/") + name));
        for (const QString &name : corrupt)
            writeFile(fixture.folder.filePath(QStringLiteral("pics/") + name), garbage(3000, 11));
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        const QImage before = table.picStatusBar->image().toImage();
        const QStringList broken = missing + corrupt;
        QList<int> shown;
        for (int rotation = 0; rotation < 2 * 16 + 1; ++rotation) {
            for (int tick = 0; tick < 4; ++tick)
                table.rotatebanner();
            // The banner now shown is the one before the number kept.
            const int number = (table.picCtr + 15) % 16;
            const QString name = QStringLiteral("%1.gif").arg(number < 15 ? number + 1 : 9);
            QVERIFY2(!broken.contains(name) || broken.size() == 15, qPrintable(name));
            shown << table.picCtr;
        }
        QTEST(fixture.alerts.texts, "messages");
        if (broken.size() == 15) {
            QCOMPARE(shown, QList<int>(shown.size(), 0));
            QCOMPARE(table.picStatusBar->image().toImage(), before);
        } else {
            QVERIFY(table.picStatusBar->image().toImage() != before);
            QCOMPARE(QSet<int>(shown.begin(), shown.end()).size(), 16 - (broken == QStringList{"9.gif"} ? 2 : 1));
        }
    }

    // A background smaller than the table's layout would leave the bank
    // and the buttons out of reach.
    void tooSmallBackgroundIsRefused_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("tiny") << QSize(100, 60);
        QTest::newRow("a pixel narrow") << QSize(639, 400);
        QTest::newRow("a pixel short") << QSize(640, 399);
    }

    void tooSmallBackgroundIsRefused()
    {
        QFETCH(QSize, size);
        TableFixture fixture;
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        QVERIFY(picture.save(fixture.folder.filePath(QStringLiteral("pics/bjwood.jpg")), "JPG"));
        QVERIFY(!fixture.open());
        QCOMPARE(fixture.alerts.texts, QStringList{QStringLiteral(
            "The background file bjwood.jpg is %1 x %2 pixels, smaller than the table's 640 x 400")
                                                       .arg(size.width()).arg(size.height())});
        QVERIFY(!fixture.table().isVisible());
    }

    // Title bars that no screen shows are placed as if nothing were stored.
    void placement_data()
    {
        QTest::addColumn<int>("left");   // -1: not stored
        QTest::addColumn<int>("top");
        QTest::addColumn<QPoint>("placed");
        const QPoint byDefault(50, 60);
        QTest::newRow("nothing stored") << -1 << -1 << byDefault;
        QTest::newRow("on the first screen") << 10 << 20 << QPoint(10, 20);
        QTest::newRow("on the second screen") << 1700 << 700 << QPoint(1700, 700);
        QTest::newRow("below the first, beside the second") << 100 << 650 << byDefault;
        QTest::newRow("far above") << 10 << -20000 << byDefault;
        QTest::newRow("far right") << 20000 << 10 << byDefault;
        QTest::newRow("left only") << 30 << -1 << QPoint(30, 60);
        QTest::newRow("top only") << -1 << 40 << QPoint(50, 40);
        QTest::newRow("top only, below every screen") << -1 << 900 << byDefault;
        QTest::newRow("100 px of the bar on a screen") << -300 << 0 << QPoint(-300, 0);
        QTest::newRow("99 px") << -301 << 0 << byDefault;
        QTest::newRow("half the bar's height") << 0 << -12 << QPoint(0, -12);
        QTest::newRow("less than half") << 0 << -13 << byDefault;
        QTest::newRow("half at the bottom") << 0 << 588 << QPoint(0, 588);
    }

    void placement()
    {
        QFETCH(int, left);
        QFETCH(int, top);
        const QList<QRect> screens{QRect(0, 0, 800, 600), QRect(800, 0, 1024, 768)};
        auto stored = [](int value) { return value == -1 ? std::nullopt : std::optional<int>(value); };
        QTEST(ScreenPlacement::place(stored(left), stored(top), 400, QPoint(50, 60), screens), "placed");
    }

    // The same through the windows, from the store: a place on screen stays
    // exactly as stored; a lost one, or a missing coordinate, is the place
    // the window takes when nothing is stored (-1 below).
    void storedPlacesOfBothWindows_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QPoint>("main");  // twips
        QTest::addColumn<QPoint>("chart");
        const QPoint lost(-1, -1);
        QTest::newRow("on screen") << QByteArray("prfMainScreenX=1500\nprfMainScreenY=3000\nprfChartX=4500\nprfChartY=600\n")
                                   << QPoint(1500, 3000) << QPoint(4500, 600);
        QTest::newRow("title bars above the screen")
            << QByteArray("prfMainScreenX=1500\nprfMainScreenY=-300000\nprfChartX=4500\nprfChartY=-7185\n") << lost << lost;
        QTest::newRow("far right") << QByteArray("prfMainScreenX=300000\nprfMainScreenY=15\nprfChartX=2147483647\nprfChartY=0\n")
                                   << lost << lost;
        QTest::newRow("one coordinate each") << QByteArray("prfMainScreenX=1500\nprfChartY=600\n")
                                             << QPoint(1500, -1) << QPoint(-1, 600);
    }

    void storedPlacesOfBothWindows()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QPoint, main);
        QFETCH(QPoint, chart);
        QDir().mkpath(QFileInfo(settingsFile()).path());
        QPoint mainDefault, chartDefault;
        {
            TableFixture unset;
            QVERIFY(unset.open());
            mainDefault = unset.table().pos();
            chartDefault = unset.table().frmStrings->pos();
        }
        writeFile(settingsFile(), "[Preferences]\n" + stored);
        TableFixture fixture;
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        const QScreen *screen = table.screen();
        auto expected = [screen](const QPoint &twips, const QPoint &byDefault) {
            return QPoint(twips.x() == -1 ? byDefault.x() : Twips::toPixels(twips.x(), screen),
                          twips.y() == -1 ? byDefault.y() : Twips::toPixels(twips.y(), screen));
        };
        QCOMPARE(table.pos(), expected(main, mainDefault));
        QCOMPARE(table.frmStrings->pos(), expected(chart, chartDefault));
        table.close();
        QSettings reread(settingsFile(), QSettings::IniFormat);
        QCOMPARE(reread.value(QStringLiteral("Preferences/prfMainScreenY")).toInt(),
                 Twips::fromPixels(expected(main, mainDefault).y(), screen));
    }
};

QTEST_MAIN(TestBadFiles)
#include "test_badfiles.moc"
