// Damaged files around the table: each gets its message (or none where a
// file is optional), the program goes on, and a round still plays.
#include "PictureBox.h"
#include "TableFixture.h"
#include <QRandomGenerator>
#include <QSettings>
#include <QtTest>

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
    return QSettings(QStringLiteral("Vantrel"), QStringLiteral("Vantrel")).fileName();
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

    void corruptBannerKeepsTheStrip()
    {
        TableFixture fixture;
        writeFile(fixture.folder.filePath(QStringLiteral("pics/1.gif")), garbage(3000, 11));
        QVERIFY(fixture.open());
        MainWindow &table = fixture.table();
        const QImage before = table.picStatusBar->image().toImage();
        table.rotatebanner();
        QCOMPARE(fixture.alerts.texts, QStringList{QStringLiteral("rotatebannerInvalid picture")});
        QCOMPARE(table.picStatusBar->image().toImage(), before);
        QCOMPARE(table.picCtr, int16_t(0));
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
                            "prfChartX=-7e300\nprfAnimationDelay=--3\nprfSound=False\nprfSound=True\n";
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
        table.close();
        QSettings reread(QStringLiteral("Vantrel"), QStringLiteral("Vantrel"));
        QCOMPARE(reread.value(QStringLiteral("Preferences/prfPKBackFace")).toString(), QStringLiteral("65"));
        QCOMPARE(reread.value(QStringLiteral("Preferences/prfScrollVal")).toString(), QStringLiteral("0"));
    }

    void unwritableSettingsAreReportedAtExit()
    {
        // A folder where the settings file belongs cannot be written, even by root.
        QDir().mkpath(settingsFile());
        TableFixture fixture;
        QVERIFY(fixture.open());
        fixture.alerts.texts.clear();
        fixture.table().close();
        QCOMPARE(fixture.alerts.texts.size(), 1);
        QVERIFY(fixture.alerts.texts.first().startsWith(QStringLiteral("Error  in  Form_Unload (  ")));
        QVERIFY(QFileInfo(settingsFile()).isDir());
    }
};

QTEST_MAIN(TestBadFiles)
#include "test_badfiles.moc"
