// The program's private folders and files, against what may already stand
// at their paths: the mode each ends with, what is left alone, and whether
// the call says so.
#include "PrivateFiles.h"
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
using Call = std::function<bool(const QString &)>;

int modeOf(const QString &path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
}

// What stands at "a" first: a folder 0755, a file 0644, a link to the file
// "t" 0644, a pipe 0644, or nothing.
bool standAt(const QString &a, const QString &what)
{
    const QByteArray name = QFile::encodeName(a);
    const QByteArray target = QFile::encodeName(QFileInfo(a).path() + QStringLiteral("/t"));
    if (what == QLatin1String("folder"))
        return ::mkdir(name, 0755) == 0 && ::chmod(name, 0755) == 0;
    if (what == QLatin1String("file"))
        return QFile(a).open(QIODevice::WriteOnly) && ::chmod(name, 0644) == 0;
    if (what == QLatin1String("link"))
        return QFile(QString::fromLocal8Bit(target)).open(QIODevice::WriteOnly) && ::chmod(target, 0644) == 0
               && ::symlink(target, name) == 0;
    if (what == QLatin1String("pipe"))
        return ::mkfifo(name, 0644) == 0 && ::chmod(name, 0644) == 0;
    return what.isEmpty();
}
}
Q_DECLARE_METATYPE(Call)

class TestPrivateFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void modes_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<Call>("call");
        QTest::addColumn<QString>("on");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QString>("looked");
        QTest::addColumn<int>("mode");
        const Call makeFolder = PrivateFiles::makeFolder, keepFolder = PrivateFiles::keepFolder,
                   keepFile = PrivateFiles::keepFile, makeFile = PrivateFiles::makeFile;
        QTest::newRow("missing folders made")    << ""       << makeFolder << "a/b" << true  << "a"   << 0700;
        QTest::newRow("a folder there kept")     << "folder" << makeFolder << "a/b" << true  << "a"   << 0755;
        QTest::newRow("a file in the chain")     << "file"   << makeFolder << "a/b" << false << "a"   << 0644;
        QTest::newRow("a folder there tightened")<< "folder" << keepFolder << "a"   << true  << "a"   << 0700;
        QTest::newRow("no folder over a file")   << "file"   << keepFolder << "a"   << false << "a"   << 0644;
        QTest::newRow("a file tightened")        << "file"   << keepFile   << "a"   << true  << "a"   << 0600;
        QTest::newRow("a missing file not made") << ""       << keepFile   << "a"   << true  << "a"   << -1;
        QTest::newRow("a link's target alone")   << "link"   << keepFile   << "a"   << false << "t"   << 0644;
        QTest::newRow("a pipe alone")            << "pipe"   << keepFile   << "a"   << false << "a"   << 0644;
        QTest::newRow("a missing file made")     << ""       << makeFile   << "a"   << true  << "a"   << 0600;
        QTest::newRow("a file there tightened")  << "file"   << makeFile   << "a"   << true  << "a"   << 0600;
        QTest::newRow("no file through a link")  << "link"   << makeFile   << "a"   << false << "t"   << 0644;
        QTest::newRow("no file over a folder")   << "folder" << makeFile   << "a"   << false << "a"   << 0755;
        QTest::newRow("no file without a folder")<< ""       << makeFile   << "x/a" << false << "x"   << -1;
    }

    void modes()
    {
        QFETCH(QString, before);
        QFETCH(Call, call);
        QFETCH(QString, on);
        QFETCH(bool, done);
        QFETCH(QString, looked);
        QFETCH(int, mode);
        QTemporaryDir folder;
        QVERIFY(standAt(folder.filePath(QStringLiteral("a")), before));
        // No mask, so a mode wider than the one asked for would show.
        const mode_t mask = ::umask(0);
        const bool result = call(folder.filePath(on));
        ::umask(mask);
        QCOMPARE(result, done);
        QCOMPARE(modeOf(folder.filePath(looked)), mode);
    }
};

QTEST_GUILESS_MAIN(TestPrivateFiles)
#include "test_privatefiles.moc"
