#include "firmware/FailRecord.h"

#include <QMutex>
#include <QMutexLocker>
#include <QStringList>

#include "core/DeviceAllInfo.h"
#include "core/DeviceProductTable.h"
#include "platform/RegistryStore.h"

namespace {
const char* const kFailRecord = "UpdateFailInfo";

// Read, change and write as one step: a stage's callback and the GUI thread may both write.
QMutex& RecordLock() {
    static QMutex lock;
    return lock;
}

RegistryStore Store() {
    return RegistryStore(RegistryStore::DriveTestKey());
}

QString ReadText() {
    return Store().Value(kFailRecord).toString();
}

QList<FailRecordEntry> ParseAll(const QString& text, bool* damaged = nullptr) {
    QList<FailRecordEntry> entries;
    if (damaged) *damaged = false;
    if (text.trimmed().isEmpty()) return entries;
    for (const QString& part : text.split(';')) {
        FailRecordEntry entry;
        if (ParseFailRecordEntry(part, &entry) && FailRecordEntryUsable(entry)) {
            bool seen = false;
            for (const FailRecordEntry& other : entries) seen = seen || other.SameDevice(entry);
            if (!seen) entries << entry;
        } else if (damaged) {
            *damaged = true;
        }
    }
    return entries;
}

void WriteEntries(const QList<FailRecordEntry>& entries) {
    if (entries.isEmpty()) {
        Store().Remove(kFailRecord);
        return;
    }
    QStringList texts;
    for (const FailRecordEntry& entry : entries) texts << entry.Text();
    Store().SetValue(kFailRecord, texts.join(';'));
}

// The device a record names answers among the found devices, so it is not in boot mode: the receiver
// itself, or the mouse on its cable or through its receiver.
bool Answers(const FailRecordEntry& record, const QList<DeviceAllInfo>& found) {
    for (const DeviceAllInfo& device : found) {
        if (MidOf(device) != record.Mid || CidOf(device) != record.Cid) continue;
        if (record.Type == kReceiverFirmware) {
            if (!device.IsUsb && DeviceProductTable::ReceiverClass(device.Type) == record.ReceiverClass)
                return true;
        } else if (device.IsUsb || device.Online) {
            return true;
        }
    }
    return false;
}
}  // namespace

bool FailRecordEntry::SameDevice(const FailRecordEntry& other) const {
    return Type == other.Type && Cid == other.Cid && Mid == other.Mid &&
           (Type != kReceiverFirmware || ReceiverClass == other.ReceiverClass);
}

QString FailRecordEntry::Text() const {
    return QStringList{QString::number(Type), QString::number(ReceiverClass), QString::number(Cid),
                       QString::number(Mid)}
        .join(',');
}

bool ParseFailRecordEntry(const QString& text, FailRecordEntry* entry) {
    const QStringList parts = text.split(',');
    if (parts.size() != 4) return false;
    int numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        const QString part = parts[i].trimmed();
        if (part.isEmpty() || part.size() > 3) return false;
        for (const QChar c : part)
            if (c < '0' || c > '9') return false;
        numbers[i] = part.toInt(nullptr, 10);
    }
    entry->Type = numbers[0];
    entry->ReceiverClass = numbers[1];
    entry->Cid = numbers[2];
    entry->Mid = numbers[3];
    return true;
}

bool FailRecordEntryUsable(const FailRecordEntry& entry) {
    const int c = entry.ReceiverClass;
    const bool receiverClass = c == 1 || c == 2 || c == 4 || c == 8;
    const bool classFits = entry.Type == kReceiverFirmware
                               ? receiverClass
                               : entry.Type == kMouseFirmware && (c == 0 || receiverClass);
    if (!classFits) return false;
    if (entry.Cid != DeviceProductTable::CidText().toInt()) return false;
    const int total = DeviceProductTable::DeviceTotal();
    for (int n = 0; n < total; ++n) {
        const QString mid = DeviceProductTable::MidText(n);
        if (!mid.isEmpty() && mid.toInt() == entry.Mid) return true;
    }
    return false;
}

QString UpgradeFailRecord() {
    return ReadText();
}

QList<FailRecordEntry> UpgradeFailRecordEntries() {
    return ParseAll(ReadText());
}

QString WriteUpgradeFailRecord(const FailRecordEntry& device) {
    QMutexLocker lock(&RecordLock());
    const QString before = ReadText();
    QList<FailRecordEntry> entries{device};
    for (const FailRecordEntry& entry : ParseAll(before))
        if (!entry.SameDevice(device)) entries << entry;
    WriteEntries(entries);
    return before;
}

QString WriteUpgradeFailRecord(int type, int receiverClass, int cid, int mid) {
    FailRecordEntry device;
    device.Type = type;
    device.ReceiverClass = receiverClass;
    device.Cid = cid;
    device.Mid = mid;
    return WriteUpgradeFailRecord(device);
}

void RestoreUpgradeFailRecord(const QString& text) {
    QMutexLocker lock(&RecordLock());
    if (text.isEmpty())
        Store().Remove(kFailRecord);
    else
        Store().SetValue(kFailRecord, text);
}

void RemoveUpgradeFailRecordOf(const FailRecordEntry& device) {
    QMutexLocker lock(&RecordLock());
    QList<FailRecordEntry> entries;
    for (const FailRecordEntry& entry : ParseAll(ReadText()))
        if (!entry.SameDevice(device)) entries << entry;
    WriteEntries(entries);
}

void RemoveUpgradeFailRecord() {
    QMutexLocker lock(&RecordLock());
    Store().Remove(kFailRecord);
}

bool PruneUpgradeFailRecord(const QList<DeviceAllInfo>& found) {
    QMutexLocker lock(&RecordLock());
    const QString text = ReadText();
    if (text.isEmpty()) return false;
    bool damaged = false;
    QList<FailRecordEntry> kept;
    for (const FailRecordEntry& entry : ParseAll(text, &damaged))
        if (!Answers(entry, found)) kept << entry;
    if (damaged || kept.size() != ParseAll(text).size()) WriteEntries(kept);
    return !kept.isEmpty();
}
