#pragma once
// Shared set-up of the tests that run the real top-level window against the simulated devices.
#include <QDialog>
#include <QLabel>
#include <QToolButton>
#include <QtTest>
#include <QDir>
#include <QStringList>

#include "FirmwareFixture.h"
#include "TestEnv.h"
#include "app/DialogMain.h"
#include "core/DeviceAllInfo.h"
#include "core/MacroIni.h"
#include "device/DeviceFlags.h"
#include "dialogs/ModalRunner.h"
#include "firmware/FlashStage.h"
#include "firmware/RepairRun.h"
#include "firmware/UpdateStages.h"
#include "firmware/UpgradeState.h"
#include "hidusb/HIDUsb.h"
#include "hidusb/HidSimControl.h"
#include "platform/Paths.h"
#include "platform/RegistryStore.h"
#include "home/DialogChange.h"
#include "settings/UpDateRepair.h"
#include "widgets/mytoolButtonEnter.h"

namespace RoadFixture {

// Fresh simulator state with the given timing, a registry and Macro.ini of their own, no cache files,
// no tray. The caller loads the devices.
inline void FreshUserState(int upgradeStepMs = 20, int pairMs = 300) {
    HidSim::SetStateDir(TestEnv::FreshDir("sim"));
    HidSim::SetTiming(upgradeStepMs, pairMs);
    const QString dir = TestEnv::FreshDir("home");
    RegistryStore::SetFilePath(dir + "/registry.ini");
    MacroIni::ResetForTest(dir + "/Macro.ini");
    QDir(Paths::UserDataDir() + "/Device_Info").removeRecursively();
    QDir().mkpath(Paths::UserDataDir() + "/Device_Info");
    DialogMain::TrayAvailable = [] { return false; };
}

// A road over the default devices that is not about firmware (an empty firmware folder, so no update is
// offered), with no flags left from an earlier road; every modal dialog runs and its object name is
// appended to *waits.
inline void BeginDefaultRoad(QStringList* waits) {
    FirmwareFixture::UseInstallation();
    FreshUserState();
    HidSim::LoadDefault();
    FoundDevices.clear();
    FlashDataFromDevice = false;
    DeviceWindow.Leave();
    UpdateIdle = true;
    waits->clear();
    ModalRunner::SetScript([waits](QDialog& dialog) {
        waits->append(dialog.objectName());
        return dialog.exec();
    });
}

inline void EndRoad() {
    ModalRunner::SetScript(nullptr);
    UsbServer_Exit();
    StopUsbChanged();
}

// Shows the window, opens the only tile and starts the update the firmware dialog offers.
inline void StartOfferedUpgrade(DialogMain& window, int waitMs = 30000) {
    window.show();
    QTRY_VERIFY_WITH_TIMEOUT(TileButtons.size() == 1, waitMs);
    TileButtons.first()->click();
    QTRY_VERIFY_WITH_TIMEOUT(RepairDialog && RepairDialog->isVisible(), waitMs);
    QLabel* status = RepairDialog->findChild<QLabel*>("ToolText_2");
    QTRY_COMPARE_WITH_TIMEOUT(status->text(), RepairDialog->ReadyText, waitMs);
    RepairDialog->findChild<QToolButton*>("NewHong_2")->click();
}

// After the program was ended in the middle of a flash (the caller restarted the simulation and destroyed
// its window): the process-wide state as a new process has it, the firmware dialog hidden and reset, and
// no stage left that a status could reach. Every modal dialog then runs.
inline void AsANewStart() {
    EndRoad();
    CloseFlashStage(RepairStageId());
    CloseFlashStage(UpdateStageOf(kReceiverFirmware));
    CloseFlashStage(UpdateStageOf(kMouseFirmware));
    if (RepairDialog) {
        RepairDialog->ResetState();
        RepairDialog->hide();
    }
    ReceiverUpgradeState = StageNoDevice;
    MouseUpgradeState = StageNoDevice;
    UpdateIdle = true;
    UpdateStepRunning = false;
    RepairRunning = false;
    RepairUpgradeBusy = false;
    FoundDevices.clear();
    FoundDevicesMirror.clear();
    DeviceWindow.Leave();
    FlashDataFromDevice = false;
    ModalRunner::SetScript([](QDialog& dialog) { return dialog.exec(); });
}

}  // namespace RoadFixture
