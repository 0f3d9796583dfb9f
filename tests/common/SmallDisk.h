#pragma once
#include <QString>

// A small tmpfs mounted on a fresh folder of the test's HOME, to run writers against a full disk.
// Mounting needs root (as in CI); where it is not allowed, Mounted() is false and Why() says so.
class SmallDisk {
public:
    explicit SmallDisk(const QString& name, int kib = 256);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    const QString& Why() const { return why_; }
    const QString& Path() const { return path_; }

    // Takes all free space but `leaveBytes` (rounded down to whole pages) with a filler file.
    bool Fill(qint64 leaveBytes = 0);
    // Removes the filler file.
    void Free();
    // Remounts the disk read-only or writable.
    bool SetReadOnly(bool readOnly);
    // Bytes still free.
    qint64 FreeBytes() const;
    // Every file of the folder but the filler, by name.
    QStringList Files() const;

private:
    QString path_;
    QString why_;
    bool mounted_ = false;
};

// Skips the running test when the disk could not be mounted.
#define SMALL_DISK_OR_SKIP(disk) \
    if (!(disk).Mounted()) QSKIP(qPrintable("no full disk to write on: " + (disk).Why()))
