#include "PrivateFiles.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool PrivateFiles::makeFolder(const QString &folder)
{
    // Missing folders are made one by one from the top, each with its mode
    // from the start, never wider for a moment.
    QStringList missing;
    for (QDir dir(folder); !dir.exists(); dir.setPath(QFileInfo(dir.path()).path())) {
        missing.prepend(dir.path());
        if (dir.isRoot())
            return false;
    }
    for (const QString &each : missing)
        if (::mkdir(QFile::encodeName(each).constData(), 0700) != 0 && errno != EEXIST)
            return false;
    return QFileInfo(folder).isDir();
}

bool PrivateFiles::keepFolder(const QString &folder)
{
    return makeFolder(folder) && ::chmod(QFile::encodeName(folder).constData(), 0700) == 0;
}

bool PrivateFiles::keepFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0)
        return errno == ENOENT;
    return S_ISREG(info.st_mode) && ::chmod(name.constData(), 0600) == 0;
}

bool PrivateFiles::makeFile(const QString &path)
{
    const int made = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (made >= 0) {
        ::close(made);
        return true;
    }
    return errno == EEXIST && keepFile(path);
}
