#pragma once
// Product-table look-ups shared by the device link code.

#include <QString>
#include <QStringList>

namespace DeviceProductTable {

// "Drive" followed by driveIndex + 1.
QString DriveGroup(int driveIndex);
// Option/DeviceTotal, never more than the sections Drive1, Drive2, ... before the first one missing.
int DeviceTotal();
// Option/CID as text and as a number.
QString CidText();
// Drive<N>/MID text of a product section.
QString MidText(int driveIndex);
QStringList Vids();
// The non-empty items of Option/USB_PID, Wireless_PID, Wireless2_PID, Wireless4_PID, Wireless8_PID, in this
// order.
QStringList EnumerationPids();
// A list of the device's section, read safely: an empty text when the item does not exist.
QString ListItem(int driveIndex, const QString& key, int item);
// Receiver class of a receiver type byte: 0 -> 1, 4 -> 2, 1 -> 4, 5 -> 8; 0 for any other type.
int ReceiverClass(int type);

}  // namespace DeviceProductTable
