#pragma once
#include <functional>

#include "hidusb/HIDUsb.h"

class DeviceAllInfo;
class QDialog;
class QString;
class QWidget;

// What the top-level window builds or registers from the pages, callbacks and dialogs of the other
// layers, in one place, so that DialogMain itself includes none of them.
namespace DialogMainSeams {

// The home page DialogChange (stack index 0).
QWidget* CreateHomePage(QWidget* parent);

// The device window Dialog (stack index 1).
QWidget* CreateDeviceWindow(QWidget* parent);

// What the home page uses before the device window exists: the firmware searches and the repair
// dialog's look-up (null until the settings page made it); deviceWindowNeeded is asked for the device
// window before a tile click or the repair entry. Also installs the crash filter (once per process).
void PrepareHomePage(std::function<void()> deviceWindowNeeded);

// HomeUsbChangedCallback of the home page.
UsbChangedCallback HomePageHotPlugCallback();

// DeviceUsbChangedCallback of the device window.
UsbChangedCallback DeviceWindowHotPlugCallback();

// DeviceDataCallback of the device link.
UsbDataCallback DeviceDataCallbackFunction();

// The offline notice MouseOffLine, without parent, not shown; its text follows OfflineNoticeKind and it
// closes on SigCloseOffOnline.
QDialog* CreateOfflineNotice();

// The pairing dialog Match, prepared (InitPair) and not shown.
QDialog* CreatePairingDialog();

// The firmware offer of Space on the home page for the one found receiver: the receiver repair or the
// wired-mode notice when exactly one of receiver and mouse has an update, run over window. False when
// neither or both have one (the caller then pairs).
bool OfferFirmwareUpdate(QWidget* window, const DeviceAllInfo& receiver, const QString& mouseVersion);

}  // namespace DialogMainSeams
