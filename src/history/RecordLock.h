#pragma once
#include <QString>

// Who records into a file: an exclusive lock on a file beside it, which the
// system holds for this process and drops the moment it ends. A lock file
// left by a crash, by another machine or emptied is therefore never "held":
// whoever finds it unlocked takes it.
class RecordLock {
public:
    explicit RecordLock(const QString &path);
    ~RecordLock();
    RecordLock(const RecordLock &) = delete;
    RecordLock &operator=(const RecordLock &) = delete;

    bool held() const { return descriptor >= 0; }
    // Why the lock is not held; empty while it is.
    QString problem() const { return why; }

private:
    int descriptor = -1;
    QString why;
};
