#include "RecordLock.h"
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

RecordLock::RecordLock(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    // Never follow a link, and never wait on a pipe put in the lock's place.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                          0600);
    if (fd < 0) {
        const int error = errno;
        why = error == EISDIR  ? name + QStringLiteral(" is a folder, not a lock file")
              : error == ELOOP ? name + QStringLiteral(" is a symbolic link, not a lock file")
                               : QStringLiteral("the record's folder cannot be written");
        return;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        why = name + QStringLiteral(" is not a plain file");
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        why = error == EWOULDBLOCK ? QStringLiteral("another copy is recording")
                                   : name + QStringLiteral(" cannot be locked");
        return;
    }
    // For a person looking: who holds it. Nothing reads this back.
    const QByteArray holder = QByteArray::number(qint64(::getpid())) + ' ' + QSysInfo::machineHostName().toUtf8() + '\n';
    const bool noted = ::fchmod(fd, 0600) == 0 && ::ftruncate(fd, 0) == 0
                       && ::pwrite(fd, holder.constData(), size_t(holder.size()), 0) == holder.size();
    Q_UNUSED(noted) // the lock holds whether or not the note was written
    descriptor = fd;
}

RecordLock::~RecordLock()
{
    if (descriptor >= 0)
        ::close(descriptor);
}
