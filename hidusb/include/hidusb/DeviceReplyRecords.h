#pragma once
// Small reply records that the device library fills. Plain C++ only (the library includes it).

#include <cstdint>

#pragma pack(push, 1)

// Receiver indicator record: byte 0 is the indicator mode (1..3, 0 none); the rest belongs to the library.
struct DongleRGB {
    uint8_t Mode;
    uint8_t Data[9];
};

// Receiver light bar: mode 0..6 (0 off), colour, speed and brightness as level - 1 (0..9), and the
// enable byte (1 when Mode is not 0). Speed comes before brightness.
struct DongleLightBar {
    uint8_t Mode;
    uint8_t Red;
    uint8_t Green;
    uint8_t Blue;
    uint8_t Speed;
    uint8_t Brightness;
    uint8_t Enable;
};

// Function code 0..3 of each of the receiver's three indicator LEDs.
struct DongleIndicatorLeds {
    uint8_t Led1Function;
    uint8_t Led2Function;
    uint8_t Led3Function;
};

// Battery level in percent and the charging flag.
struct BatteryStatus {
    uint8_t Level;
    uint8_t Charging;
    uint8_t Unused[2];
};

// One byte per changed item, non-zero = changed.
struct StatusChangeFlags {
    uint8_t DpiLevel;
    uint8_t ReportRate;
    uint8_t Reconnect;
    uint8_t DpiLight;
    uint8_t Unused4;
    uint8_t LightBar;
    uint8_t Battery;
};

#pragma pack(pop)

static_assert(sizeof(DongleRGB) == 10, "DongleRGB layout");
static_assert(sizeof(DongleLightBar) == 7, "DongleLightBar layout");
static_assert(sizeof(DongleIndicatorLeds) == 3, "DongleIndicatorLeds layout");
static_assert(sizeof(BatteryStatus) == 4, "BatteryStatus layout");
static_assert(sizeof(StatusChangeFlags) == 7, "StatusChangeFlags layout");

// Long-range reply: preset to 's' before the call (no answer); any other non-zero value means on.
using LongRangeReply = uint8_t;
constexpr LongRangeReply kLongRangeNoAnswer = 0x73;
