#pragma once
#include <QSharedMemory>
#include <QString>

// Single-instance guard: the shared-memory segment named after the product, plus a lock file held with
// flock for the life of the process. The kernel drops the lock when the process dies, however it dies, so
// a segment that a crashed instance left behind is recognised as stale and replaced instead of blocking.
// The lock file lies in the session's runtime folder (XDG_RUNTIME_DIR), like a session-local named object;
// without that folder it lies in a folder of the user and is keyed by the user's HOME as well.
class InstanceGuard {
public:
    explicit InstanceGuard(const QString& key);
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;

    // True when another live instance holds the guard. Otherwise this guard takes it: a stale segment is
    // dropped and a fresh one of one byte is created (a failed creation does not stop the start).
    bool AnotherInstanceRuns();

    bool Owns() const { return lockFd_ >= 0; }
    const QString& LockFilePath() const { return lockPath_; }

private:
    QSharedMemory segment_;
    QString lockPath_;
    int lockFd_ = -1;
};
