#include "platform/InstanceGuard.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

namespace {
// The session's runtime folder; without one, a folder of the user, where the lock also names HOME.
QString RuntimeDir(bool* perUser) {
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    *perUser = dir.isEmpty();
    if (*perUser) dir = QDir::tempPath() + QStringLiteral("/vorlant-runtime-") + QString::number(getuid());
    if (!QDir(dir).exists() && QDir().mkpath(dir)) {
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return dir;
}
}  // namespace

InstanceGuard::InstanceGuard(const QString& key) : segment_(key) {
    bool perUser = false;
    const QString dir = RuntimeDir(&perUser);
    QByteArray name = key.toUtf8();
    // Outside a session every HOME of the user (a test, another account view) is its own instance.
    if (perUser) name += '\0' + QFile::encodeName(QDir::homePath());
    const QByteArray hash = QCryptographicHash::hash(name, QCryptographicHash::Sha1).toHex().left(16);
    lockPath_ = dir + QStringLiteral("/instance-") + QString::fromLatin1(hash) + QStringLiteral(".lock");
}

InstanceGuard::~InstanceGuard() {
    if (lockFd_ >= 0) ::close(lockFd_);
}

bool InstanceGuard::AnotherInstanceRuns() {
    if (Owns()) return false;
    const int fd = ::open(QFile::encodeName(lockPath_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return true;
    }
    // Without a lock file (unwritable folder) the segment alone decides, as it always did.
    if (fd < 0) {
        if (segment_.attach(QSharedMemory::ReadWrite)) return true;
        segment_.create(1, QSharedMemory::ReadWrite);
        return false;
    }
    lockFd_ = fd;
    // We hold the lock, so any segment under our key belongs to an instance that is gone: detaching the
    // last attachment removes it.
    if (segment_.attach(QSharedMemory::ReadWrite)) segment_.detach();
    segment_.create(1, QSharedMemory::ReadWrite);
    return false;
}
