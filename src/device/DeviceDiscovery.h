#pragma once
// Finding the supported devices and matching them to the product table. The home page's hot-plug
// callback and grid call these; the device window's twins live in Worker.

#include <QStringList>

#include "core/DeviceAllInfo.h"
#include "hidusb/HIDUsb.h"

// Reply buffers of the link state reads (home page and device window).
extern UsbAddressReply HomeLinkReply;
extern UsbAddressReply WorkerLinkReply;

namespace DeviceDiscovery {

// Calls of UsbFinderC_GetDeviceInfo before a device counts as not answering; only the answers of the
// first kIdentifyCalls - 1 calls are used.
constexpr int kIdentifyCalls = 10;

// A found device before matching: path, the table's VID and PID texts, firmware version.
DeviceAllInfo NewRecord(const char* path, const QString& vid, const QString& pid);

// Matches a record to the product table (identification, CID, MID): 0 the device did not answer or
// the table has no sections, 1 matched (CidMidWord, Type, DriveIndex set), 2 the CID matched but no
// MID, 3 the CID did not match. IsUsb is set in every case but "no sections"; DriveIndex is DeviceTotal
// unless matched.
int MatchToProductTable(DeviceAllInfo& info);

// Online := reply byte 6 is 1; ReceiverId := reply bytes 7, 8, 9.
void ApplyLinkReply(DeviceAllInfo& info, const UsbAddressReply& reply);

// The home page's matcher: false only when the table has no sections; a matched device also gets its
// online state.
bool MatchHomeDevice(DeviceAllInfo& info);
// The home page's enumeration; appends to FoundDevices and FoundDevicesMirror.
void FindHomeDevices(const QStringList& vids, const QStringList& pids);
// The data part of the home page's hot-plug callback: the PID copies, clearing and enumerating.
void ScanHomeDevices();
// Re-reads the link state of FoundDevices[index]; true when the receiver knows a mouse (fewer than
// three id bytes 0). False for an index out of range.
bool RefreshDeviceLinkState(int index);
// Re-reads the link state and re-matches FoundDevices[index] (the data part of the tile refresh).
// False for an index out of range.
bool RefreshDeviceEntry(int index);

}  // namespace DeviceDiscovery
