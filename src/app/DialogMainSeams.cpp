#include "app/DialogMainSeams.h"

#include "app/Dialog.h"
#include "device/DeviceDataCallback.h"
#include "device/Worker.h"
#include "dialogs/MouseOffLine.h"
#include "home/DialogChange.h"
#include "home/Match.h"
#include "platform/CrashHandler.h"
#include "platform/Paths.h"
#include "settings/FirmwareOffer.h"
#include "settings/UpDateRepair.h"
#include "widgets/PicturePreload.h"

namespace DialogMainSeams {

QWidget* CreateHomePage(QWidget* parent) {
    return new DialogChange(parent);
}

namespace {
// The device window's pictures, in the order its pages are made; the largest, the two backgrounds, come
// first, so that other threads decode them while the pages are made.
QStringList DeviceWindowPictures() {
    const QString root = Paths::InstallDir() + QStringLiteral("/Picture/");
    QStringList folders;
    for (const char* folder :
         {"Advanced", "Buttoninterface", "Light", "Macro", "Sensor", "FormSetting", "Dialog"})
        folders << root + QLatin1String(folder);
    return PicturePreload::Pictures(
        {root + QStringLiteral("Dialog/BackGround.png"), root + QStringLiteral("Dialog/BackGround2.png")},
        folders);
}
}  // namespace

// Its pictures are decoded on other threads while it is made; each page made takes those decoded so far
// from the pixmap cache, and its first show the rest.
QWidget* CreateDeviceWindow(QWidget* parent) {
    PicturePreload preload(DeviceWindowPictures());
    QWidget* window = new Dialog(parent, [&preload] { preload.InstallReady(); });
    preload.Install();
    return window;
}

void PrepareHomePage(std::function<void()> deviceWindowNeeded) {
    static CrashHandler crash;
    static const bool filtered = (crash.SetCrashFilter(), true);
    Q_UNUSED(filtered);
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
