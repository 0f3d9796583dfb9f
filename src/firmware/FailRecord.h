#pragma once
// The record of the devices an upgrade may have left in boot mode: the value "UpdateFailInfo" of the
// drive-test registry key. A device is four decimal numbers joined by ",": the image kind (210 mouse, 211
// receiver), the receiver class (1, 2, 4 or 8; a mouse's may be 0), the CID and the MID. The device of the
// last stage comes first; further devices follow, each after a ";". A stage puts its device into the record
// before the library gets the image, and only its success takes it out, so a program ended in any way
// leaves on disk every device that may wait in boot mode. Safe from any thread.

#include <QList>
#include <QString>

#include "core/DeviceAllInfo.h"
#include "firmware/FirmwareImages.h"

struct FailRecordEntry {
    int Type = 0;
    int ReceiverClass = 0;
    int Cid = 0;
    int Mid = 0;

    // The same device: kind, CID and MID, and for a receiver its class.
    bool SameDevice(const FailRecordEntry& other) const;
    QString Text() const;
};

// Reads one device: four fields of one to three decimal digits, spaces around them allowed, so that
// "211,08,35,6" and "211,8,35,6" read alike. False for anything else.
bool ParseFailRecordEntry(const QString& text, FailRecordEntry* entry);
// A device the repair can use: a known kind with a class that fits it, the product table's CID and the MID
// of one of its models.
bool FailRecordEntryUsable(const FailRecordEntry& entry);

// The stored text ("" when there is none).
QString UpgradeFailRecord();
// The devices of the record that the repair can use, first the one of the last stage.
QList<FailRecordEntry> UpgradeFailRecordEntries();
// Puts the device first (a stage starts, or failed); returns the text it replaced.
QString WriteUpgradeFailRecord(const FailRecordEntry& device);
QString WriteUpgradeFailRecord(int type, int receiverClass, int cid, int mid);
// Writes a text as it was before (a start the library refused); empty removes the record.
void RestoreUpgradeFailRecord(const QString& text);
// The device's stage succeeded: it is no longer in boot mode.
void RemoveUpgradeFailRecordOf(const FailRecordEntry& device);
void RemoveUpgradeFailRecord();

// Drops the devices the repair cannot use and those that answer among `found` (the devices just scanned)
// at a normal version; true while a device is left.
bool PruneUpgradeFailRecord(const QList<DeviceAllInfo>& found);
