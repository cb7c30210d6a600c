#include "AlertRecorder.h"
#include "Preferences.h"
#include "SettingsStore.h"
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

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

QByteArray rawSettings()
{
    QFile file(settingsFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Preferences loaded()
{
    SettingsStore store;
    Preferences preferences;
    preferences.load(store);
    return preferences;
}

QString stored(const QString &key)
{
    return SettingsStore().read(key, QStringLiteral("<absent>"));
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
        const QString file = settingsFile();
        QDir(file).removeRecursively();
        QFile::remove(file);
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
    }

    void emptyStoreGivesDefaults()
    {
        AlertRecorder alerts;
        const Preferences preferences = loaded();
        QCOMPARE(preferences.prfChartX, -1);
        QCOMPARE(preferences.prfChartY, -1);
        QCOMPARE(preferences.prfPKBackFace, 65);
        QCOMPARE(preferences.prfCardOutlineColor, 65280);
        QVERIFY(preferences.prfAlwaysShowBestPlay && preferences.prfAutoDeal);
        QVERIFY(preferences.prfAnimation && preferences.prfSound);
        QCOMPARE(preferences.prfAnimationDelay, -1);
        QVERIFY(preferences.delayUnmeasured);
        QCOMPARE(preferences.prfBannerDelay, 0);
        QCOMPARE(preferences.prfScrollVal, int16_t(0));
        QCOMPARE(preferences.prfPKBackground, QStringLiteral("bjwood.jpg"));
        SettingsStore store;
        const Preferences::WindowPosition main = Preferences::loadMainScreen(store);
        QCOMPARE(main.x, -1);
        QCOMPARE(main.y, -1);
        QVERIFY(alerts.texts.isEmpty());
    }

    void everythingRoundTrips()
    {
        Preferences written;
        written.prfPKBackFace = 58;
        written.prfCardOutlineColor = 255;
        written.prfAlwaysShowBestPlay = false;
        written.prfAutoDeal = true;
        written.prfAnimation = false;
        written.prfSound = true;
        written.prfAnimationDelay = 1234;
        written.prfBannerDelay = 4500;
        written.prfScrollVal = 1000;
        {
            SettingsStore store;
            QVERIFY(written.save(store, Preferences::WindowPosition{40000, -1500},
                                 Preferences::WindowPosition{39999, 0}));
        }
        const Preferences read = loaded();
        QCOMPARE(read.prfChartX, 40000);
        QCOMPARE(read.prfChartY, -1500);
        QCOMPARE(read.prfPKBackFace, 58);
        QCOMPARE(read.prfCardOutlineColor, 255);
        QCOMPARE(read.prfAlwaysShowBestPlay, false);
        QCOMPARE(read.prfAutoDeal, true);
        QCOMPARE(read.prfAnimation, false);
        QCOMPARE(read.prfSound, true);
        QCOMPARE(read.prfAnimationDelay, 1234);
        QVERIFY(!read.delayUnmeasured);
        QCOMPARE(read.prfBannerDelay, 4500);
        QCOMPARE(read.prfScrollVal, int16_t(1000));
        SettingsStore store;
        const Preferences::WindowPosition main = Preferences::loadMainScreen(store);
        QCOMPARE(main.x, 39999);
        QCOMPARE(main.y, 0);
        QCOMPARE(stored("prfAlwaysShowBestPlay"), QStringLiteral("False"));
        QCOMPARE(stored("prfChartY"), QStringLiteral("-1500"));
    }

    void savedTextIsPlain()
    {
        writeRawSettings("[Preferences]\nprfCardOutlineColor=&H0000FF00&\nprfPKBackFace=0\n");
        const Preferences preferences = loaded();
        QCOMPARE(preferences.prfCardOutlineColor, 65280);
        QCOMPARE(preferences.prfPKBackFace, 65);
        SettingsStore store;
        QVERIFY(preferences.save(store, std::nullopt, std::nullopt));
        QCOMPARE(stored("prfCardOutlineColor"), QStringLiteral("65280"));
        QCOMPARE(stored("prfPKBackFace"), QStringLiteral("65"));
        QCOMPARE(stored("prfSound"), QStringLiteral("True"));
    }

    void absentWindowsAndZeroBackKeepStoredKeys()
    {
        writeRawSettings("[Preferences]\nprfChartX=10\nprfChartY=20\nprfMainScreenX=30\n"
                         "prfMainScreenY=40\nprfPKBackFace=60\n");
        Preferences preferences = loaded();
        preferences.prfPKBackFace = 0;
        SettingsStore store;
        QVERIFY(preferences.save(store, std::nullopt, std::nullopt));
        QCOMPARE(stored("prfChartX"), QStringLiteral("10"));
        QCOMPARE(stored("prfChartY"), QStringLiteral("20"));
        QCOMPARE(stored("prfMainScreenX"), QStringLiteral("30"));
        QCOMPARE(stored("prfMainScreenY"), QStringLiteral("40"));
        QCOMPARE(stored("prfPKBackFace"), QStringLiteral("60"));
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
        QTest::newRow("colour not numeric") << "prfCardOutlineColor" << "green" << qint64(65280) << "";
        QTest::newRow("colour too wide") << "prfCardOutlineColor" << "&H100000000" << qint64(65280) << "initializeOverflow";
        QTest::newRow("back design") << "prfPKBackFace" << "54" << qint64(54) << "";
        QTest::newRow("back zero") << "prfPKBackFace" << "0.0" << qint64(65) << "";
        QTest::newRow("back no design") << "prfPKBackFace" << "7" << qint64(65) << "initializeInvalid card back design";
        QTest::newRow("back huge") << "prfPKBackFace" << "99999" << qint64(65) << "initializeInvalid card back design";
        QTest::newRow("back not numeric") << "prfPKBackFace" << "red" << qint64(65) << "initializeType mismatch";
        QTest::newRow("boolean lower case") << "prfSound" << "false" << qint64(true) << "";
        QTest::newRow("boolean exact") << "prfSound" << "False" << qint64(false) << "";
        QTest::newRow("delay measured") << "prfAnimationDelay" << "250" << qint64(250) << "";
        QTest::newRow("delay negative") << "prfAnimationDelay" << "-5" << qint64(-5) << "";
        QTest::newRow("delay not numeric") << "prfAnimationDelay" << "slow" << qint64(-1) << "initializeType mismatch";
        QTest::newRow("banner empty") << "prfBannerDelay" << "" << qint64(0) << "initializeType mismatch";
        QTest::newRow("scroll empty") << "prfScrollVal" << "" << qint64(0) << "";
        QTest::newRow("scroll tie") << "prfScrollVal" << "500.5" << qint64(500) << "";
        QTest::newRow("scroll beyond 16 bits") << "prfScrollVal" << "40000" << qint64(0) << "initializeOverflow";
        QTest::newRow("scroll unquoted commas") << "prfScrollVal" << "1,2" << qint64(0) << "initializeType mismatch";
    }

    void storedTexts()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(qint64, value);
        QFETCH(QString, alert);
        writeRawSettings("[Preferences]\n" + key.toUtf8() + "=" + text.toUtf8() + "\n");
        AlertRecorder alerts;
        const Preferences preferences = loaded();
        const QHash<QString, qint64> fields{
            {"prfChartX", preferences.prfChartX},
            {"prfChartY", preferences.prfChartY},
            {"prfCardOutlineColor", preferences.prfCardOutlineColor},
            {"prfPKBackFace", preferences.prfPKBackFace},
            {"prfSound", preferences.prfSound},
            {"prfAutoDeal", preferences.prfAutoDeal},
            {"prfAnimationDelay", preferences.prfAnimationDelay},
            {"prfBannerDelay", preferences.prfBannerDelay},
            {"prfScrollVal", preferences.prfScrollVal},
        };
        QCOMPARE(fields.value(key), value);
        QCOMPARE(alerts.texts, alert.isEmpty() ? QStringList() : QStringList{alert});
        QCOMPARE(preferences.delayUnmeasured, preferences.prfAnimationDelay < 0);
    }

    // A bad first key used to abandon the rest of the load, and the zeros left
    // behind were written back at exit.
    void badKeyDoesNotSpoilTheOthers()
    {
        writeRawSettings("[Preferences]\nprfChartX=1e20\nprfChartY=200\nprfPKBackFace=60\n"
                         "prfSound=False\nprfAnimationDelay=300\nprfBannerDelay=7000\nprfScrollVal=700\n");
        AlertRecorder alerts;
        const Preferences preferences = loaded();
        QCOMPARE(alerts.texts, QStringList{"initializeOverflow"});
        QCOMPARE(preferences.prfChartX, -1);
        QCOMPARE(preferences.prfChartY, 200);
        QCOMPARE(preferences.prfPKBackFace, 60);
        QCOMPARE(preferences.prfSound, false);
        QCOMPARE(preferences.prfAnimationDelay, 300);
        QCOMPARE(preferences.prfBannerDelay, 7000);
        QCOMPARE(preferences.prfScrollVal, int16_t(700));
        SettingsStore store;
        QVERIFY(preferences.save(store, std::nullopt, std::nullopt));
        QCOMPARE(stored("prfAnimationDelay"), QStringLiteral("300"));
    }

    void handWrittenFileIsTolerated()
    {
        writeRawSettings("garbage without section\n\x01\x02\xff\xfe\n[Preferences]\n"
                         "prfAnimationDelay=100\nprfAnimationDelay=200\n"
                         "  prfBannerDelay  =  42  \nprfsound=False\n=novalue\nprfChartX\nprfChartY=\n"
                         "[Other]\nprfAnimation=False\n");
        AlertRecorder alerts;
        const Preferences preferences = loaded();
        QCOMPARE(preferences.prfAnimationDelay, 200);
        QCOMPARE(preferences.prfBannerDelay, 42);
        QCOMPARE(preferences.prfSound, true);
        QCOMPARE(preferences.prfAnimation, true);
        QCOMPARE(preferences.prfChartX, -1);
        QCOMPARE(preferences.prfChartY, 0);
        QVERIFY(alerts.texts.isEmpty());
    }

    void mainScreenPosition_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("x");
        QTest::addColumn<QString>("alert");
        QTest::newRow("wide") << QByteArray("40000") << 40000 << "";
        QTest::newRow("not numeric") << QByteArray("left") << 0 << "";
        QTest::newRow("beyond 32 bits") << QByteArray("-1e12") << -1 << "Error  in  Form_Load (  Overflow  )";
    }

    void mainScreenPosition()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, x);
        QFETCH(QString, alert);
        writeRawSettings("[Preferences]\nprfMainScreenX=" + text + "\nprfMainScreenY=15\n");
        AlertRecorder alerts;
        SettingsStore store;
        const Preferences::WindowPosition position = Preferences::loadMainScreen(store);
        QCOMPARE(position.x, x);
        QCOMPARE(position.y, 15);
        QCOMPARE(alerts.texts, alert.isEmpty() ? QStringList() : QStringList{alert});
    }

    void failedSaveKeepsWhatWasStored()
    {
        Preferences preferences;
        preferences.prfAnimationDelay = 111;
        {
            SettingsStore store;
            QVERIFY(preferences.save(store, std::nullopt, std::nullopt));
        }
        const QByteArray before = rawSettings();
        preferences.prfAnimationDelay = 222;
        AlertRecorder alerts;
        bool saved = true;
        {
            const FileWritesFail failing; // outlives the store, whose end retries the write
            SettingsStore store;
            saved = preferences.save(store, std::nullopt, std::nullopt);
        }
        QVERIFY(!saved);
        QCOMPARE(alerts.texts, QStringList{"Error  in  Form_Unload (  Permission denied  )"});
        QCOMPARE(rawSettings(), before);
        // The refused values stay pending in this process and go out with
        // the next write that succeeds.
        QVERIFY(SettingsStore().commit());
        QCOMPARE(stored("prfAnimationDelay"), QStringLiteral("222"));
    }

    void unwritablePlaceIsReported()
    {
        QVERIFY(QDir().mkpath(settingsFile())); // a folder where the file belongs
        AlertRecorder alerts;
        SettingsStore store;
        QVERIFY(!Preferences().save(store, std::nullopt, std::nullopt));
        QCOMPARE(alerts.texts.size(), 1);
        QVERIFY(QDir(settingsFile()).removeRecursively());
        QVERIFY(SettingsStore().commit());
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "test_preferences.moc"
