#include "app/DialogMainSeams.h"

#include "app/Dialog.h"
#include "device/DeviceDataCallback.h"
#include "device/Worker.h"
#include "dialogs/MouseOffLine.h"
#include "home/DialogChange.h"
#include "home/Match.h"
#include "platform/CrashHandler.h"
#include "settings/FirmwareImages.h"
#include "settings/FirmwareOffer.h"
#include "settings/UpDateRepair.h"
#include "settings/UpgradeState.h"

namespace DialogMainSeams {

QWidget* CreateHomePage(QWidget* parent) {
    return new DialogChange(parent);
}

QWidget* CreateDeviceWindow(QWidget* parent) {
    return new Dialog(parent);
}

void PrepareHomePage(std::function<void()> deviceWindowNeeded) {
    static CrashHandler crash;
    static const bool filtered = (crash.SetCrashFilter(), true);
    Q_UNUSED(filtered);
    DialogChange::FindUpdateFirmware = ::FindUpdateFirmware;
    DialogChange::FindRepairFirmware = ::FindRepairFirmware;
    DialogChange::RepairDialog = []() -> QDialog* { return ::RepairDialog; };
    DialogChange::DeviceWindowNeeded = std::move(deviceWindowNeeded);
}

UsbChangedCallback HomePageHotPlugCallback() {
    return HomeUsbChangedCallback;
}

UsbChangedCallback DeviceWindowHotPlugCallback() {
    return DeviceUsbChangedCallback;
}

UsbDataCallback DeviceDataCallbackFunction() {
    return DeviceDataCallback;
}

QDialog* CreateOfflineNotice() {
    return new MouseOffLine;
}

QDialog* CreatePairingDialog() {
    auto* pairing = new Match;
    pairing->InitPair();
    return pairing;
}

bool OfferFirmwareUpdate(QWidget* window, const DeviceAllInfo& receiver, const QString& mouseVersion) {
    return RunFirmwareOffer(window, receiver, mouseVersion);
}

}  // namespace DialogMainSeams
