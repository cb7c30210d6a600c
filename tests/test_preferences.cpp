#include "AlertRecorder.h"
#include "FileBytes.h"
#include "Preferences.h"
#include "SettingsStore.h"
#include <QtTest>
#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
QString settingsFile()
{
    static const QString fileName = SettingsStore().fileName();
    return fileName;
}

void writeRawSettings(const QByteArray &content)
{
    // QSettings takes a file of unchanged size and time for unchanged, so
    // every hand-written file gets a time of its own.
    static QDateTime stamp = QDateTime::currentDateTime().addDays(-1);
    stamp = stamp.addSecs(1);
    QFile file(settingsFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    QVERIFY(file.flush());
    QVERIFY(file.setFileTime(stamp, QFileDevice::FileModificationTime));
}

Preferences loaded()
{
    SettingsStore store;
    Preferences preferences;
    preferences.load(store);
    return preferences;
}

// Every field as read from the store, the main window's position included.
QString loadedSummary()
{
    const Preferences p = loaded();
    SettingsStore store;
    const Preferences::WindowPosition main = Preferences::loadMainScreen(store);
    return QStringLiteral("chart %1,%2 main %3,%4 back %5 outline %6 best %7 deal %8 anim %9 sound %10 "
                          "delay %11 unmeasured %12 banner %13 scroll %14 %15")
        .arg(p.prfChartX).arg(p.prfChartY).arg(main.x).arg(main.y).arg(p.prfPKBackFace)
        .arg(p.prfCardOutlineColor).arg(p.prfAlwaysShowBestPlay).arg(p.prfAutoDeal).arg(p.prfAnimation)
        .arg(p.prfSound).arg(p.prfAnimationDelay).arg(p.delayUnmeasured).arg(p.prfBannerDelay)
        .arg(p.prfScrollVal).arg(p.prfPKBackground);
}

QString stored(const QString &key)
{
    return SettingsStore().read(key, QStringLiteral("<absent>"));
}

bool save(const Preferences &preferences)
{
    SettingsStore store;
    return preferences.save(store, std::nullopt, std::nullopt);
}

// Makes every file write of this process fail, root or not, until restored.
class FileWritesFail {
public:
    FileWritesFail()
    {
        previousSignal = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit none = previous;
        none.rlim_cur = 0;
        setrlimit(RLIMIT_FSIZE, &none);
    }
    ~FileWritesFail()
    {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousSignal);
    }

private:
    rlimit previous{};
    void (*previousSignal)(int) = nullptr;
};
}

class TestPreferences : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QFile::remove(settingsFile());
        QVERIFY(QDir().mkpath(QFileInfo(settingsFile()).path()));
    }

    void everythingRoundTrips()
    {
        Preferences written;
        written.prfPKBackFace = 58;
        written.prfCardOutlineColor = 255;
        written.prfAutoDeal = written.prfSound = true;
        written.prfAnimationDelay = 1234;
        written.prfBannerDelay = 4500;
        written.prfScrollVal = 1000;
        {
            SettingsStore store;
            QVERIFY(written.save(store, Preferences::WindowPosition{40000, -1500}, Preferences::WindowPosition{39999, 0}));
        }
        QCOMPARE(loadedSummary(), QStringLiteral("chart 40000,-1500 main 39999,0 back 58 outline 255 best 0 deal 1 "
                                                 "anim 0 sound 1 delay 1234 unmeasured 0 banner 4500 scroll 1000 bjwood.jpg"));
        QCOMPARE(stored("prfAlwaysShowBestPlay"), QStringLiteral("False"));
    }

    // Stored text is plain decimal; absent windows and a zero design leave their keys alone.
    void savedTextIsPlainAndKeepsUnsavedKeys()
    {
        writeRawSettings("[Preferences]\nprfCardOutlineColor=&H0000FF00&\nprfChartX=10\nprfChartY=20\n"
                         "prfMainScreenX=30\nprfMainScreenY=40\nprfPKBackFace=60\n");
        Preferences preferences = loaded();
        QCOMPARE(preferences.prfCardOutlineColor, 65280);
        QVERIFY(save(preferences));
        QCOMPARE(stored("prfCardOutlineColor"), QStringLiteral("65280"));
        QCOMPARE(stored("prfSound"), QStringLiteral("True"));
        preferences.prfPKBackFace = 0;
        QVERIFY(save(preferences));
        QStringList kept;
        for (const char *key : {"prfChartX", "prfChartY", "prfMainScreenX", "prfMainScreenY", "prfPKBackFace"})
            kept << stored(QLatin1String(key));
        QCOMPARE(kept, (QStringList{"10", "20", "30", "40", "60"}));
    }

    void storedTexts_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QString>("alert");
        QTest::newRow("wide position") << "prfChartX" << "70000" << qint64(70000) << "";
        QTest::newRow("position not numeric") << "prfChartX" << "left" << qint64(0) << "";
        QTest::newRow("position beyond 32 bits") << "prfChartY" << "1e20" << qint64(-1) << "initializeOverflow";
        QTest::newRow("main wide") << "prfMainScreenX" << "40000" << qint64(40000) << "";
        QTest::newRow("main not numeric") << "prfMainScreenX" << "left" << qint64(0) << "";
        QTest::newRow("main beyond 32 bits") << "prfMainScreenX" << "-1e12" << qint64(-1) << "Error  in  Form_Load (  Overflow  )";
        QTest::newRow("colour not numeric") << "prfCardOutlineColor" << "green" << qint64(65280) << "";
        QTest::newRow("colour too wide") << "prfCardOutlineColor" << "&H100000000" << qint64(65280) << "initializeOverflow";
        QTest::newRow("back lowest design") << "prfPKBackFace" << "53" << qint64(53) << "";
        QTest::newRow("back below designs") << "prfPKBackFace" << "52" << qint64(65) << "initializeInvalid card back design";
        QTest::newRow("back zero") << "prfPKBackFace" << "0.0" << qint64(65) << "";
        QTest::newRow("back no design") << "prfPKBackFace" << "7" << qint64(65) << "initializeInvalid card back design";
        QTest::newRow("back above designs") << "prfPKBackFace" << "66" << qint64(65) << "initializeInvalid card back design";
        QTest::newRow("back huge") << "prfPKBackFace" << "99999" << qint64(65) << "initializeInvalid card back design";
        QTest::newRow("back not numeric") << "prfPKBackFace" << "red" << qint64(65) << "initializeType mismatch";
        QTest::newRow("boolean lower case") << "prfSound" << "false" << qint64(true) << "";
        QTest::newRow("boolean exact") << "prfSound" << "False" << qint64(false) << "";
        QTest::newRow("delay negative") << "prfAnimationDelay" << "-5" << qint64(-5) << "";
        QTest::newRow("delay not numeric") << "prfAnimationDelay" << "slow" << qint64(-1) << "initializeType mismatch";
        // Too long like any long delay, which the table measures again.
        QTest::newRow("delay beyond 32 bits") << "prfAnimationDelay" << "99999999999" << qint64(2147483647) << "";
        QTest::newRow("delay largest") << "prfAnimationDelay" << "2147483647.4" << qint64(2147483647) << "";
        QTest::newRow("delay below 32 bits") << "prfAnimationDelay" << "-1e30" << qint64(-2147483648) << "";
        QTest::newRow("banner empty") << "prfBannerDelay" << "" << qint64(0) << "initializeType mismatch";
        QTest::newRow("scroll empty") << "prfScrollVal" << "" << qint64(0) << "";
        QTest::newRow("scroll tie") << "prfScrollVal" << "500.5" << qint64(500) << "";
        QTest::newRow("scroll beyond 16 bits") << "prfScrollVal" << "40000" << qint64(0) << "initializeOverflow";
        QTest::newRow("scroll unquoted commas") << "prfScrollVal" << "1,2" << qint64(0) << "initializeType mismatch";
        QTest::newRow("scroll trailing comma") << "prfScrollVal" << "7," << qint64(0) << "initializeType mismatch";
    }

    void storedTexts()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(qint64, value);
        QFETCH(QString, alert);
        writeRawSettings("[Preferences]\n" + key.toUtf8() + "=" + text.toUtf8() + "\nprfMainScreenY=15\n");
        AlertRecorder alerts;
        const Preferences p = loaded();
        SettingsStore store;
        const Preferences::WindowPosition main = Preferences::loadMainScreen(store);
        const QHash<QString, qint64> fields{{"prfChartX", p.prfChartX}, {"prfChartY", p.prfChartY},
            {"prfMainScreenX", main.x}, {"prfCardOutlineColor", p.prfCardOutlineColor},
            {"prfPKBackFace", p.prfPKBackFace}, {"prfSound", p.prfSound}, {"prfAnimationDelay", p.prfAnimationDelay},
            {"prfBannerDelay", p.prfBannerDelay}, {"prfScrollVal", p.prfScrollVal}};
        QCOMPARE(fields.value(key), value);
        QCOMPARE(main.y, 15);
        QCOMPARE(alerts.texts, alert.isEmpty() ? QStringList() : QStringList{alert});
    }

    // Only a negative delay, or none, is one still to be measured.
    void delayMeasuredOrNot_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("unmeasured");
        QTest::newRow("none stored") << QByteArray("[Preferences]\n") << true;
        QTest::newRow("zero") << QByteArray("[Preferences]\nprfAnimationDelay=0\n") << false;
        QTest::newRow("below one half") << QByteArray("[Preferences]\nprfAnimationDelay=-0.4\n") << false;
        QTest::newRow("one") << QByteArray("[Preferences]\nprfAnimationDelay=1\n") << false;
        QTest::newRow("minus one") << QByteArray("[Preferences]\nprfAnimationDelay=-1\n") << true;
        QTest::newRow("minus one half, to even") << QByteArray("[Preferences]\nprfAnimationDelay=-1.5\n") << true;
        QTest::newRow("beyond 32 bits") << QByteArray("[Preferences]\nprfAnimationDelay=99999999999\n") << false;
        QTest::newRow("below 32 bits") << QByteArray("[Preferences]\nprfAnimationDelay=-99999999999\n") << true;
        QTest::newRow("not numeric") << QByteArray("[Preferences]\nprfAnimationDelay=slow\n") << true;
    }

    void delayMeasuredOrNot()
    {
        QFETCH(QByteArray, content);
        writeRawSettings(content);
        AlertRecorder alerts;
        QTEST(loaded().delayUnmeasured, "unmeasured");
    }

    // A bad first key used to abandon the rest of the load, and the zeros left
    // behind were written back at exit; a hand-written file is read as far as it goes.
    void fileReadsAs_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QStringList>("alerts");
        QTest::newRow("no file") << QByteArray() << "chart -1,-1 main -1,-1 back 65 outline 65280 best 1 deal 1 anim 1 "
            "sound 1 delay -1 unmeasured 1 banner 0 scroll 0 bjwood.jpg" << QStringList();
        QTest::newRow("bad first key") << QByteArray("[Preferences]\nprfChartX=1e20\nprfChartY=200\nprfPKBackFace=60\n"
            "prfSound=False\nprfAnimationDelay=300\nprfBannerDelay=7000\nprfScrollVal=700\n")
            << "chart -1,200 main -1,-1 back 60 outline 65280 best 1 deal 1 anim 1 "
               "sound 0 delay 300 unmeasured 0 banner 7000 scroll 700 bjwood.jpg" << QStringList{"initializeOverflow"};
        QTest::newRow("hand-written") << QByteArray("garbage without section\n\x01\x02\xff\xfe\n[Preferences]\n"
            "prfAnimationDelay=100\nprfAnimationDelay=200\n  prfBannerDelay  =  42  \nprfsound=False\n=novalue\n"
            "prfChartX\nprfChartY=\n[Other]\nprfAnimation=False\n")
            << "chart -1,0 main -1,-1 back 65 outline 65280 best 1 deal 1 anim 1 "
               "sound 1 delay 200 unmeasured 0 banner 42 scroll 0 bjwood.jpg" << QStringList();
    }

    void fileReadsAs()
    {
        QFETCH(QByteArray, content);
        if (!content.isNull())
            writeRawSettings(content);
        AlertRecorder alerts;
        QTEST(loadedSummary(), "summary");
        QTEST(alerts.texts, "alerts");
        QVERIFY(save(loaded())); // and written back as read
        QTEST(loadedSummary(), "summary");
    }

    // A garbled file read before the save must not pass for a failed save,
    // nor hide one.
    void saveIsReportedOnlyWhenItFails_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("writesFail");
        const QByteArray clean = "[Preferences]\nprfAnimationDelay=111\n";
        const QByteArray garbled = "[Preferences\nno equals sign\nprfAnimationDelay=111\n";
        QTest::newRow("clean file, write fails") << clean << true;
        QTest::newRow("garbled file, write fails") << garbled << true;
        QTest::newRow("garbled file, write succeeds") << garbled << false;
    }

    void saveIsReportedOnlyWhenItFails()
    {
        QFETCH(QByteArray, before);
        QFETCH(bool, writesFail);
        writeRawSettings(before);
        Preferences preferences;
        preferences.prfAnimationDelay = 222;
        AlertRecorder alerts;
        bool saved = false;
        {
            std::optional<FileWritesFail> failing; // outlives the store, whose end retries the write
            if (writesFail)
                failing.emplace();
            saved = save(preferences);
        }
        QCOMPARE(saved, !writesFail);
        QCOMPARE(alerts.texts, writesFail ? QStringList{"Error  in  Form_Unload (  Permission denied  )"} : QStringList());
        QCOMPARE(readFile(settingsFile()) == before, writesFail);
        // Refused values stay pending in this process and go out with the
        // next write that succeeds.
        QVERIFY(SettingsStore().commit());
        QCOMPARE(stored("prfAnimationDelay"), QStringLiteral("222"));
    }

    // A file the store refused to read is replaced only by a file written in
    // full: a failed write leaves it in place, byte for byte, and says so.
    void refusedFileOutlivesAFailedWrite()
    {
        const QByteArray huge = "[Preferences]\nprfAnimationDelay=111\n" + QByteArray(2 * 1024 * 1024, ';');
        writeRawSettings(huge);
        Preferences preferences;
        preferences.prfAnimationDelay = 222;
        AlertRecorder alerts;
        {
            FileWritesFail failing;
            QVERIFY(!save(preferences));
        }
        QCOMPARE(alerts.texts, QStringList{"Error  in  Form_Unload (  Permission denied  )"});
        QVERIFY(readFile(settingsFile()) == huge);
        const QString folder = QFileInfo(settingsFile()).path();
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(settingsFile()).fileName()});
        QVERIFY(save(preferences));
        QCOMPARE(stored("prfAnimationDelay"), QStringLiteral("222"));
        QVERIFY(QFileInfo(settingsFile()).size() < 1000);
    }

    // Kept from other users: a new folder and file, and ones left open by
    // an earlier version, end up the owner's alone.
    void settingsAreTheOwnersAlone_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::newRow("made new") << false;
        QTest::newRow("left open before") << true;
    }

    void settingsAreTheOwnersAlone()
    {
        QFETCH(bool, existing);
        const QString folder = QFileInfo(settingsFile()).path();
        QVERIFY(QDir(folder).removeRecursively());
        const mode_t mask = umask(022);
        if (existing) {
            QVERIFY(QDir().mkpath(folder));
            writeRawSettings("[Preferences]\nprfSound=False\n");
            QCOMPARE(QFileInfo(settingsFile()).permissions() & 0x0044, QFile::ReadGroup | QFile::ReadOther);
        }
        Preferences preferences = loaded();
        const bool saved = save(preferences);
        umask(mask);
        QVERIFY(saved);
        struct stat info {};
        QCOMPARE(stat(QFile::encodeName(folder).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0700));
        QCOMPARE(stat(QFile::encodeName(settingsFile()).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0600));
        QCOMPARE(stored("prfSound"), existing ? QStringLiteral("False") : QStringLiteral("True"));
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "test_preferences.moc"
