#include "firmware/FirmwareImages.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QtEndian>

#include "core/ConfigIni.h"
#include "core/DeviceAllInfo.h"
#include "core/DeviceProductTable.h"
#include "platform/Paths.h"

std::atomic<int> UpgradeCid{0};

namespace {
constexpr int kVersionOffset = 0x10;
constexpr int kTypeOffset = 0x14;
constexpr int kCidOffset = 0x15;
constexpr int kMidOffset = 0x16;
constexpr int kModelOffset = 0x57;
constexpr int kModelSize = 64;
constexpr int kHeaderSizeOffset = 0x06;
constexpr int kPayloadLengthOffset = 0x08;

struct ImageList {
    QMutex Lock;
    QList<FirmwareImage> Images;
};

ImageList& UpdateList() {
    static ImageList list;
    return list;
}
ImageList& RepairList() {
    static ImageList list;
    return list;
}

void Store(ImageList& list, const FirmwareImage& image) {
    QMutexLocker lock(&list.Lock);
    list.Images.clear();
    if (image) list.Images.append(image);
}

FirmwareImage First(ImageList& list) {
    QMutexLocker lock(&list.Lock);
    return list.Images.isEmpty() ? FirmwareImage() : list.Images.first();
}

// (major, minor) of a version text "v1.05" (lower-case "v" ignored, minor hexadecimal).
bool ParseVersion(const QString& text, quint32* major, quint32* minor) {
    QString plain = text;
    plain.remove(QLatin1Char('v'));
    const QStringList parts = plain.split(QLatin1Char('.'));
    if (parts.size() != 2) return false;
    bool okMajor = false, okMinor = false;
    *major = parts[0].toUInt(&okMajor, 10);
    *minor = parts[1].toUInt(&okMinor, 16);
    return okMajor && okMinor && !parts[1].isEmpty() && *minor <= 0xFF;
}

FirmwareImage Search(int kind, const QString& version, const QString& model, int cid, int mid) {
    return ChooseFirmware(InstalledImages(), kind, version, model, cid, mid);
}
}  // namespace

QList<InstalledImage> InstalledImages() {
    QList<InstalledImage> images;
    const QDir folder(Paths::InstallDir() + "/bin");
    if (!folder.exists()) return images;
    const QStringList names =
        folder.entryList({QStringLiteral("*.bin")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QByteArray data = file.readAll();
        InstalledImage image;
        if (file.error() != QFileDevice::NoError || !ReadFirmwareHeader(data, &image.Header)) continue;
        image.Image = std::make_shared<const QByteArray>(data);
        images << image;
    }
    return images;
}

FirmwareImage ChooseFirmware(const QList<InstalledImage>& images, int kind, const QString& version,
                             const QString& model, int cid, int mid) {
    FirmwareImage chosen;
    for (const InstalledImage& image : images) {
        const FirmwareHeader& header = image.Header;
        if (header.DeviceType != quint8(kind) || header.Cid != quint8(cid) || header.Mid != quint8(mid) ||
            header.ModelName != model)
            continue;
        if (!version.isEmpty() && !IsOtherVersion(header.Version, version)) continue;
        chosen = image.Image;
    }
    return chosen;
}

bool ReadFirmwareHeader(const QByteArray& image, FirmwareHeader* header) {
    if (image.size() < kFirmwareHeaderSize) return false;
    const auto* bytes = reinterpret_cast<const uchar*>(image.constData());
    const quint64 headerSize = qFromLittleEndian<quint16>(bytes + kHeaderSizeOffset);
    const quint64 payload = qFromLittleEndian<quint32>(bytes + kPayloadLengthOffset);
    if (quint64(image.size()) < headerSize + payload) return false;
    header->Version = qFromLittleEndian<quint32>(bytes + kVersionOffset);
    header->DeviceType = bytes[kTypeOffset];
    header->Cid = bytes[kCidOffset];
    header->Mid = bytes[kMidOffset];
    const QByteArray model = image.mid(kModelOffset, kModelSize);
    const int end = model.indexOf('\0');
    header->ModelName = QString::fromLocal8Bit(end < 0 ? model : model.left(end));
    return true;
}

QString FirmwareVersionText(quint32 version) {
    return "v" + QString::number(version >> 8) + "." +
           QStringLiteral("%1").arg(version & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

bool IsOtherVersion(quint32 version, const QString& current) {
    quint32 major = 0, minor = 0;
    if (!ParseVersion(current, &major, &minor)) return true;
    return major != (version >> 8) || minor != (version & 0xFF);
}

bool FindUpdateFirmware(int kind, const QString& version, const QString& model, int cid, int mid) {
    Store(UpdateList(), FirmwareImage());
    const FirmwareImage image = Search(kind, version, model, cid, mid);
    Store(UpdateList(), image);
    return image != nullptr;
}

bool FindRepairFirmware(int kind, const QString& version, const QString& model, int cid, int mid) {
    Store(RepairList(), FirmwareImage());
    const FirmwareImage image = Search(kind, version, model, cid, mid);
    Store(RepairList(), image);
    return image != nullptr;
}

bool HasOtherFirmwareVersion(int kind, const QString& version, const QString& model, int cid, int mid) {
    if (version.isEmpty()) return false;
    return Search(kind, version, model, cid, mid) != nullptr;
}

QString ReceiverModelKey(int receiverClass) {
    switch (receiverClass) {
        case 1:
            return QStringLiteral("DM");
        case 2:
            return QStringLiteral("D2M");
        case 4:
            return QStringLiteral("D4M");
        case 8:
            return QStringLiteral("D8M");
        default:
            return QString();
    }
}

bool IsUpdateAvailable(int kind, const QString& version, int receiverClass) {
    ConfigIni* table = ConfigIni::GetInstance();
    const QString section = DeviceProductTable::DriveGroup(CurrentDeviceCopy().DriveIndex);
    UpgradeCid = table->GetValue("Option", "CID").toInt();
    QString model;
    if (kind == kMouseFirmware) {
        model = table->GetValue(section, "MM");
    } else {
        const QString key = ReceiverModelKey(receiverClass);
        if (key.isEmpty()) return false;
        model = table->GetValue(section, key);
    }
    return HasOtherFirmwareVersion(kind, version, model, UpgradeCid & 0xFF,
                                   table->GetValue(section, "MID").toInt() & 0xFF);
}

FirmwareImage UpdateFirmwareImage() {
    return First(UpdateList());
}
FirmwareImage RepairFirmwareImage() {
    return First(RepairList());
}

QList<FirmwareImage> UpdateFirmwareList() {
    QMutexLocker lock(&UpdateList().Lock);
    return UpdateList().Images;
}

QList<FirmwareImage> RepairFirmwareList() {
    QMutexLocker lock(&RepairList().Lock);
    return RepairList().Images;
}
