#include "app/DialogMainSeams.h"

#include "app/Dialog.h"
#include "device/DeviceDataCallback.h"
#include "device/Worker.h"
#include "dialogs/MouseOffLine.h"
#include "home/DialogChange.h"
#include "home/Match.h"
#include "settings/FirmwareOffer.h"

namespace DialogMainSeams {

QWidget* CreateHomePage(QWidget* parent) {
    return new DialogChange(parent);
}

QWidget* CreateDeviceWindow(QWidget* parent) {
    return new Dialog(parent);
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
