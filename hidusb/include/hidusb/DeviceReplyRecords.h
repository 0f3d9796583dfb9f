#pragma once
// Small reply records that the device library fills. Plain C++ only (the library includes it).

#include <cstdint>

#pragma pack(push, 1)

// Receiver indicator record: byte 0 is the indicator mode (1..3, 0 none); the rest belongs to the library.
struct DongleRGB {
    uint8_t Mode;
    uint8_t Data[9];
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
static_assert(sizeof(BatteryStatus) == 4, "BatteryStatus layout");
static_assert(sizeof(StatusChangeFlags) == 7, "StatusChangeFlags layout");

// Long-range reply: preset to 's' before the call (no answer); any other non-zero value means on.
using LongRangeReply = uint8_t;
constexpr LongRangeReply kLongRangeNoAnswer = 0x73;
