#pragma once
// Shared set-up of the tests that run the real top-level window against the simulated devices.
#include <QDir>

#include "TestEnv.h"
#include "app/DialogMain.h"
#include "core/MacroIni.h"
#include "hidusb/HidSimControl.h"
#include "platform/Paths.h"
#include "platform/RegistryStore.h"

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

}  // namespace RoadFixture
