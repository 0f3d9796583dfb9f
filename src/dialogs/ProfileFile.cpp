#include "dialogs/ProfileFile.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <cstring>

#include "platform/WholeFile.h"
#include "platform/DebugLog.h"

int ImportResult = 0;

namespace ProfileFile {
namespace {

// Reads one block whose length must be exactly `size`; false on any other length or a short read.
bool ReadBlock(QDataStream& stream, QByteArray& block, int size) {
    quint32 length = 0;
    stream >> length;
    if (stream.status() != QDataStream::Ok || length != static_cast<quint32>(size)) return false;
    block.resize(size);
    return stream.readRawData(block.data(), size) == size;
}

// The text of a block up to its zero byte; a block without one is not a text.
bool BlockText(const QByteArray& block, QString& text) {
    const int end = block.indexOf('\0');
    if (end < 0) return false;
    text = QString::fromUtf8(block.constData(), end);
    return true;
}

}  // namespace

int Read(const QString& path, const QString& sensor, int dpiMaxGrade, FlashDataMap& out) {
    // A pipe or device would block on open or read.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        qCDebug(VzDebug) << "failed";
        return 1;
    }
    QDataStream stream(&file);
    QByteArray tagBlock, sensorBlock, imageBlock;
    if (!ReadBlock(stream, tagBlock, kTagBlockSize) || !ReadBlock(stream, sensorBlock, kSensorBlockSize) ||
        !ReadBlock(stream, imageBlock, kImageBlockSize) || !stream.atEnd())
        return 1;

    QString tag, sensorName;
    if (!BlockText(tagBlock, tag) || !BlockText(sensorBlock, sensorName)) return 1;
    if (tag != QLatin1String(kTag)) return 1;
    if (sensorName != sensor) return 2;

    FlashDataMap image;
    std::memcpy(&image, imageBlock.constData(), sizeof image);
    if (image.DpiLevelCount > dpiMaxGrade) return 2;
    out = image;
    return 0;
}

bool Write(const QString& path, const QString& sensor, const FlashDataMap& image) {
    // The sensor text and its zero byte must fit the block.
    const QByteArray sensorText = sensor.toUtf8();
    if (sensorText.size() >= kSensorBlockSize) return false;
    QByteArray tag(kTagBlockSize, '\0');
    std::memcpy(tag.data(), kTag, std::strlen(kTag));
    QByteArray sensorBlock = sensorText;
    sensorBlock.append(QByteArray(kSensorBlockSize - sensorBlock.size(), '\0'));
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.writeBytes(tag.constData(), static_cast<uint>(tag.size()));
    stream.writeBytes(sensorBlock.constData(), static_cast<uint>(sensorBlock.size()));
    stream.writeBytes(reinterpret_cast<const char*>(&image), static_cast<uint>(sizeof image));
    return stream.status() == QDataStream::Ok && WholeFile::Write(path, bytes);
}

}  // namespace ProfileFile
