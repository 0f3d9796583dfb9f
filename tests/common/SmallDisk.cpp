#include "SmallDisk.h"

#include <sys/mount.h>
#include <sys/statvfs.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>

#include "TestEnv.h"

namespace {
const char* const kFiller = ".filler";
constexpr qint64 kChunk = 4096;
}  // namespace

SmallDisk::SmallDisk(const QString& name, int kib) {
    path_ = QDir::homePath() + "/" + name;
    const QByteArray native = QFile::encodeName(path_);
    ::umount2(native.constData(), MNT_DETACH);  // one left behind by a test that died
    path_ = TestEnv::FreshDir(name);
    const QByteArray options = "size=" + QByteArray::number(kib) + "k,mode=0755";
    if (::mount("tmpfs", native.constData(), "tmpfs", 0, options.constData()) != 0) {
        why_ = QStringLiteral("mounting a tmpfs failed (%1); run as root to test full disks")
                   .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    mounted_ = true;
}

SmallDisk::~SmallDisk() {
    if (mounted_) ::umount2(QFile::encodeName(path_).constData(), MNT_DETACH);
}

qint64 SmallDisk::FreeBytes() const {
    struct statvfs info {};
    if (::statvfs(QFile::encodeName(path_).constData(), &info) != 0) return -1;
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}

bool SmallDisk::Fill(qint64 leaveBytes) {
    QFile filler(path_ + "/" + kFiller);
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) return false;
    const QByteArray chunk(int(kChunk), 'f');
    while (FreeBytes() > leaveBytes) {
        const qint64 size = qMin(kChunk, FreeBytes() - leaveBytes);
        if (filler.write(chunk.constData(), size) != size) break;
    }
    return FreeBytes() <= leaveBytes + kChunk;
}

void SmallDisk::Free() {
    QFile::remove(path_ + "/" + kFiller);
}

bool SmallDisk::SetReadOnly(bool readOnly) {
    const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
    return ::mount("tmpfs", QFile::encodeName(path_).constData(), "tmpfs", flags, nullptr) == 0;
}

QStringList SmallDisk::Files() const {
    QStringList files = QDir(path_).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    files.removeAll(kFiller);
    return files;
}
