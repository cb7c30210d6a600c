#include "FileBytes.h"
#include "FileExists.h"
#include "ProgramFolder.h"
#include "SoundPlayer.h"
#include <QtTest>

namespace {
// A silent 16-bit mono PCM wave of the given length.
QByteArray silentWave(int milliseconds)
{
    const quint32 rate = 8000;
    const quint32 dataBytes = rate * 2 * quint32(milliseconds) / 1000;
    QByteArray wave;
    QDataStream out(&wave, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataBytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << rate << rate * 2 << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << dataBytes;
    return wave + QByteArray(int(dataBytes), '\0');
}
}

class TestSound : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        ProgramFolder::setPath(folder.path());
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("wavs/folder.wav")));
        writeFile(ProgramFolder::file("wavs", "deal.wav"), silentWave(3000));
        writeFile(ProgramFolder::file("wavs", "won.wav"), silentWave(3000));
        writeFile(ProgramFolder::file("wavs", "empty.wav"), QByteArray());
    }

    void fileExists_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("exists");
        QTest::newRow("with content") << "deal.wav" << true;
        QTest::newRow("zero length") << "empty.wav" << false;
        QTest::newRow("missing") << "missing.wav" << false;
        QTest::newRow("folder") << "folder.wav" << false;
        QTest::newRow("NUL in name") << QString::fromUtf16(u"deal.wav\u0000x", 10) << false;
        QTest::newRow("no name") << QString() << false;
    }

    void fileExists()
    {
        QFETCH(QString, name);
        QFETCH(bool, exists);
        QCOMPARE(FileExists(name.isNull() ? name : ProgramFolder::file("wavs", name)), exists);
    }

    void playsOnlyExistingSoundsWhenOnWithoutWaiting()
    {
        bool soundOn = false;
        SoundPlayer player(soundOn);
        player.playsound(QStringLiteral("deal.wav"));
        QVERIFY(player.lastStarted().isEmpty());
        soundOn = true; // the live preference is honoured
        for (const char *name : {"missing.wav", "empty.wav", "folder.wav"})
            player.playsound(QLatin1String(name));
        QVERIFY(player.lastStarted().isEmpty());
        QElapsedTimer timer;
        timer.start();
        player.playsound(QStringLiteral("deal.wav"));
        QCOMPARE(player.lastStarted(), ProgramFolder::file("wavs", "deal.wav"));
        player.playsound(QStringLiteral("won.wav"));
        QCOMPARE(player.lastStarted(), ProgramFolder::file("wavs", "won.wav"));
        QVERIFY2(timer.elapsed() < 1500, "starting two 3-second sounds must not wait for them");
    }

private:
    QTemporaryDir folder;
};

QTEST_MAIN(TestSound)
#include "test_sound.moc"
