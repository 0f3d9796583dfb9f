#pragma once
// Control interface of the simulated devices behind HIDUsb.h, for tests and for the command-line
// tool (which reaches RunCommand over the local control socket of a running program).
//
// Environment:
//   VORLANT_SIM_DEVICES  JSON file describing the devices (README "Simulated devices"); without it one
//                        8K receiver with its ZEMB_M6 mouse online.
//   VORLANT_SIM_STATE    folder for the mice's flash and the devices' state (default
//                        $HOME/.local/share/VorlantZEMB-sim).
//   VORLANT_SIM_CONTROL  "off" (or "0") disables the control socket; any other text names it
//                        (default: "vorlant-zemb-sim-" + a hash of $HOME).
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

#if defined(HIDUSB_BUILD)
#define HIDSIM_API __attribute__((visibility("default")))
#else
#define HIDSIM_API
#endif

namespace HidSim {

// ---- Device sets ----
// Replaces the devices by those of a JSON description (their stored state is loaded from the state
// folder; every change is stored as it happens); hot-plug follows.
HIDSIM_API bool LoadDescription(const QByteArray& json, QString* error = nullptr);
// Replaces the devices by the built-in default set.
HIDSIM_API void LoadDefault();
// As a restart of the library: drops the connection, the hot-plug registration and pending messages,
// then loads the current description again from the state folder.
HIDSIM_API void Restart();
HIDSIM_API QString StateDir();
HIDSIM_API void SetStateDir(const QString& dir);
// Milliseconds per 10 % of an upgrade and from entering pairing mode to its result.
HIDSIM_API void SetTiming(int upgradeStepMs, int pairMs);

// ---- Devices (by name; false when there is no such device or the action does not apply) ----
HIDSIM_API QStringList DeviceNames();
HIDSIM_API QString PathOf(const QString& name);
HIDSIM_API bool Plug(const QString& name);    // a receiver, or a mouse onto its cable
// Unplugged while it (or the wireless mouse behind it) is flashed, the upgrade fails at its next step and
// the flashed device stays in boot mode.
HIDSIM_API bool Unplug(const QString& name);
HIDSIM_API bool Wake(const QString& mouse);   // a reconnect report follows
HIDSIM_API bool Sleep(const QString& mouse);
HIDSIM_API bool PressDpiButton(const QString& mouse);  // next DPI level; status-change report
HIDSIM_API bool SetReportRate(const QString& mouse, uint8_t code);
HIDSIM_API bool SetBattery(const QString& mouse, int percent, bool charging);
// The next k answers of this device fail: read requests go unanswered, receiver calls return false, an
// upgrade start is refused.
HIDSIM_API bool FailNext(const QString& name, int k);
// The next upgrade of this device fails once it reaches percent (then it stays in boot mode).
HIDSIM_API bool FailUpgradeAt(const QString& name, int percent);
// The next upgrade of this device stops reporting once it reaches percent: no final status follows and
// the device stays in boot mode.
HIDSIM_API bool StallUpgradeAt(const QString& name, int percent);
// The next pairing on this receiver fails.
HIDSIM_API bool FailNextPairing(const QString& receiver);
// The mouse changes its light by itself: image bytes 100..106 (mode, red, green, blue, speed,
// brightness, enable), then a status-change report with the light-bar bit.
HIDSIM_API bool SetMouseLight(const QString& mouse, const QByteArray& bytes7);
// The mouse changes its DPI indicator light by itself: image bytes 96..99 (mode, brightness, speed,
// enable), then a status-change report with the DPI-light bit.
HIDSIM_API bool SetDpiLight(const QString& mouse, const QByteArray& bytes4);
// The receiver's light records as text: indicator record, light bar and LEDs in hex.
HIDSIM_API QString ReceiverRecords(const QString& receiver);
// The receiver changes its indicator mode by itself (message kind 21).
HIDSIM_API bool SetReceiverIndicatorMode(const QString& receiver, uint8_t mode);
// The receiver leaves long-range mode by itself (message kind 23).
HIDSIM_API bool DropLongRange(const QString& receiver);

// ---- State ----
HIDSIM_API QByteArray Flash(const QString& mouse);  // 6912 bytes
HIDSIM_API bool IsBootMode(const QString& name);
HIDSIM_API bool IsOnline(const QString& name);
HIDSIM_API uint16_t Version(const QString& name);
HIDSIM_API int ActiveConfig(const QString& mouse);
HIDSIM_API int LongRangeMode(const QString& receiver);  // -1 none, 0 off, 1 on
HIDSIM_API QByteArray LastImage();                       // last image handed to ProtocolDataUpdate
HIDSIM_API QStringList CallLog();
HIDSIM_API void ClearCallLog();

// ---- Firmware images ----
HIDSIM_API QByteArray BuildFirmwareImage(uint8_t deviceType, uint8_t cid, uint8_t mid, const QByteArray& model,
                                         uint32_t version, const QByteArray& payload = QByteArray());

// ---- Text commands (the control socket speaks these) ----
HIDSIM_API QString RunCommand(const QString& line);
// The commands RunCommand knows, with their arguments ("help" answers this text).
HIDSIM_API QString CommandUsage();
// The names of those commands, in the order the usage lists them.
HIDSIM_API QStringList CommandNames();
// Whether a word names one of those commands.
HIDSIM_API bool IsCommand(const QString& word);
// Name of the control socket for the current environment; empty when it is off.
HIDSIM_API QString ControlSocketName();
// True while this process serves the control socket.
HIDSIM_API bool ControlSocketListening();

}  // namespace HidSim
