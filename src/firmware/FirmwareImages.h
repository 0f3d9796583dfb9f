#pragma once
// Firmware images beside the program (the "bin" folder of the installation) and their search.
// An image file is read whole; its 728-byte header names the device kind, CID, MID, model name and
// version. Versions compare as (major, minor) pairs: equal pairs are the same version, any other pair
// (older ones too) counts as another version.

#include <QByteArray>
#include <QList>
#include <QString>
#include <atomic>
#include <memory>

constexpr int kFirmwareHeaderSize = 728;
constexpr int kMouseFirmware = 210;
constexpr int kReceiverFirmware = 211;

// One whole image file; shared so that a running stage keeps its image while later searches go on.
using FirmwareImage = std::shared_ptr<const QByteArray>;

struct FirmwareHeader {
    quint32 Version = 0;
    quint8 DeviceType = 0;
    quint8 Cid = 0;
    quint8 Mid = 0;
    QString ModelName;
};

// The header of a complete image: false for data shorter than the header or than its own header size
// plus payload length.
bool ReadFirmwareHeader(const QByteArray& image, FirmwareHeader* header);
// "v" + major (value >> 8) in decimal + "." + minor as two upper-case hex digits.
QString FirmwareVersionText(quint32 version);
// Whether an image of this version is another version than the current text (an unparsable text
// differs from every version).
bool IsOtherVersion(quint32 version, const QString& current);

// The complete images of the bin folder in name order (case ignored); unreadable or incomplete files are
// left out.
struct InstalledImage {
    FirmwareHeader Header;
    FirmwareImage Image;
};
QList<InstalledImage> InstalledImages();
// The search below among images already read; touches neither list.
FirmwareImage ChooseFirmware(const QList<InstalledImage>& images, int kind, const QString& version,
                             const QString& model, int cid, int mid);

// Searches of the bin folder (kind 210 mouse, 211 receiver; CID and MID by their low 8 bits). Unreadable
// or incomplete files are skipped. The last matching file in name order (case ignored) whose version is
// another than `version` is chosen; an empty `version` accepts every matching file.
// FindUpdateFirmware and FindRepairFirmware leave the chosen image as their list's only entry (an empty
// list when they return false); HasOtherFirmwareVersion only answers and is false for an empty version.
bool FindUpdateFirmware(int kind, const QString& version, const QString& model, int cid, int mid);
bool FindRepairFirmware(int kind, const QString& version, const QString& model, int cid, int mid);
bool HasOtherFirmwareVersion(int kind, const QString& version, const QString& model, int cid, int mid);

// Receiver model key of the product table by receiver class: "DM", "D2M", "D4M", "D8M"; empty otherwise.
QString ReceiverModelKey(int receiverClass);
// Whether an image of another version exists for the current device's model: kind 210 the mouse, any
// other the receiver of that class (1, 2, 4 or 8; any other class gives false). Sets UpgradeCid.
bool IsUpdateAvailable(int kind, const QString& version, int receiverClass);

// The chosen images (null when the last search chose none). Safe from any thread.
FirmwareImage UpdateFirmwareImage();
FirmwareImage RepairFirmwareImage();
// Copies of the lists (tests and callers that want the whole list).
QList<FirmwareImage> UpdateFirmwareList();
QList<FirmwareImage> RepairFirmwareList();

// The product table's CID, as last read by IsUpdateAvailable or an upgrade step.
extern std::atomic<int> UpgradeCid;
