#include "device/DeviceInfoFile.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>

#include "platform/Paths.h"
#include "platform/WholeFile.h"

QString DeviceInfoFilePath(quint16 cidMidWord) {
    const auto hex = [](int value) {
        return QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char('0'));
    };
    return Paths::UserDataDir() + QStringLiteral("/Device_Info/Device_CID") + hex(cidMidWord & 0xFF) +
           QStringLiteral("_MID") + hex(cidMidWord >> 8) + QStringLiteral(".bin");
}

bool ReadDeviceInfoFile(const QString& fileName, FlashDataMap* image) {
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly)) return false;
    QDataStream stream(&file);
    quint32 length = 0;
    stream >> length;
    if (stream.status() != QDataStream::Ok || length != sizeof(FlashDataMap)) return false;
    QByteArray bytes(int(sizeof(FlashDataMap)), Qt::Uninitialized);
    if (stream.readRawData(bytes.data(), bytes.size()) != bytes.size()) return false;
    std::memcpy(image, bytes.constData(), sizeof(FlashDataMap));
    return true;
}

bool WriteDeviceInfoFile(const QString& fileName, const FlashDataMap& image) {
    if (fileName.isEmpty()) return false;
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.writeBytes(reinterpret_cast<const char*>(&image), uint(sizeof(FlashDataMap)));
    return stream.status() == QDataStream::Ok && WholeFile::Write(fileName, bytes);
}
