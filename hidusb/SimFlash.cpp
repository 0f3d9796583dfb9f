#include "SimFlash.h"

#include <cstring>
#include <vector>

#include "SimFirmware.h"
#include "hidusb/FlashDataMap.h"

namespace SimFlash {

namespace {

constexpr int kImageMacroOffset = 988;
constexpr int kMacroSize = int(sizeof(MacroRecord));

uint32_t ReadLe32(const unsigned char* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void Seal(QByteArray* flash, int macroUsed) {
    unsigned char* f = reinterpret_cast<unsigned char*>(flash->data());
    std::memcpy(f, "VZMF", 4);
    f[4] = 1;
    f[5] = 0;
    f[6] = uchar(macroUsed & 0xFF);
    f[7] = uchar(macroUsed >> 8);
    const uint32_t crc = SimFirmware::Crc32(f + 0x10, size_t(kSize - 0x10));
    for (int i = 0; i < 4; ++i) f[8 + i] = uchar((crc >> (8 * i)) & 0xFF);
    std::memset(f + 12, 0, 4);
}

}  // namespace

bool IsValid(const QByteArray& flash) {
    if (flash.size() != kSize) return false;
    const unsigned char* f = reinterpret_cast<const unsigned char*>(flash.constData());
    return std::memcmp(f, "VZMF", 4) == 0 && f[4] == 1 &&
           SimFirmware::Crc32(f + 0x10, size_t(kSize - 0x10)) == ReadLe32(f + 8);
}

bool Encode(const FlashDataMap& image, QByteArray* flash, QString* error) {
    const unsigned char* img = reinterpret_cast<const unsigned char*>(&image);
    std::vector<unsigned char> buffer(kSize, 0);
    unsigned char* f = buffer.data();
    std::memcpy(f + kSettingsOffset, img, 156);
    std::memcpy(f + kActionsOffset, img + 156, 832);
    int used = 0;
    int needed = 0;
    int macros = 0;
    for (int b = 0; b < kDeviceButtonCount; ++b) {
        const unsigned char* rec = img + kImageMacroOffset + b * kMacroSize;
        int n = kMacroSize;
        while (n > 0 && rec[n - 1] == 0) --n;
        if (n == 0) continue;
        ++macros;
        needed += 3 + n;
        if (needed > kMacroArea) continue;
        unsigned char* e = f + kMacroOffset + used;
        e[0] = uchar(b);
        e[1] = uchar(n & 0xFF);
        e[2] = uchar(n >> 8);
        std::memcpy(e + 3, rec, size_t(n));
        used += 3 + n;
    }
    if (needed > kMacroArea) {
        if (error)
            *error = QString("the %1 macros need %2 bytes of flash, only %3 are available")
                         .arg(macros)
                         .arg(needed)
                         .arg(kMacroArea);
        return false;
    }
    if (used < kMacroArea) f[kMacroOffset + used] = 0xFF;
    QByteArray out(reinterpret_cast<const char*>(f), kSize);
    Seal(&out, used);
    *flash = out;
    return true;
}

bool Decode(const unsigned char* flash, FlashDataMap* image, QString* error) {
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (!flash) return fail("no flash dump");
    if (!IsValid(QByteArray::fromRawData(reinterpret_cast<const char*>(flash), kSize)))
        return fail("flash dump is not intact (magic or checksum)");
    FlashDataMap out;
    std::memset(&out, 0, sizeof out);
    unsigned char* img = reinterpret_cast<unsigned char*>(&out);
    std::memcpy(img, flash + kSettingsOffset, 156);
    std::memcpy(img + 156, flash + kActionsOffset, 832);
    const int used = flash[6] | (flash[7] << 8);
    if (used > kMacroArea) return fail("macro area length out of range");
    int pos = 0;
    while (pos < used) {
        const unsigned char* e = flash + kMacroOffset + pos;
        if (used - pos < 3) return fail("truncated macro entry");
        const int b = e[0];
        const int n = e[1] | (e[2] << 8);
        if (b >= kDeviceButtonCount || n < 1 || n > kMacroSize || used - pos - 3 < n)
            return fail("corrupt macro entry");
        std::memcpy(img + kImageMacroOffset + b * kMacroSize, e + 3, size_t(n));
        pos += 3 + n;
    }
    std::memcpy(image, &out, sizeof out);
    return true;
}

unsigned char SettingByte(const QByteArray& flash, int imageOffset) {
    return uchar(flash.at(kSettingsOffset + imageOffset));
}

void SetSettingByte(QByteArray* flash, int imageOffset, unsigned char value) {
    const int used = uchar(flash->at(6)) | (uchar(flash->at(7)) << 8);
    (*flash)[kSettingsOffset + imageOffset] = char(value);
    Seal(flash, used);
}

QByteArray Factory(int buttonCount) {
    FlashDataMap m;
    std::memset(&m, 0, sizeof m);
    m.ReportRateCode = 1;  // 1000 Hz
    m.DpiLevelCount = 4;
    m.CurrentDpiLevel = 1;
    m.Reserved03 = 0x01;
    m.LodCode = 1;
    m.KeyDebounceMs = 4;
    m.SleepTimeCode = 6;
    m.RippleControl = 0;
    m.PerformanceTimeCode = 6;
    m.WheelDebounceMs = 20;
    m.ReleaseDebounceMs = 4;
    // The library's own calibration bytes in the reserved ranges.
    for (int i = 0; i < 25; ++i) m.Reserved11[i] = uchar(0xA0 + i);
    m.Reserved2D[0] = 0x5A;
    m.Reserved2D[1] = 0xA5;
    m.Reserved2D[2] = 0x01;
    m.Reserved9B = 0x3C;
    static const uchar dpiCodes[kDpiLevelMax] = {7, 15, 31, 63, 127, 159, 191, 255};
    static const uchar colors[kDpiLevelMax][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},     {255, 255, 0},
                                                  {0, 255, 255}, {255, 0, 255}, {255, 255, 255}, {255, 80, 0}};
    for (int i = 0; i < kDpiLevelMax; ++i) {
        m.DpiLevels[i].DpiCode = dpiCodes[i];
        m.DpiLevels[i].DpiCodeCopy = dpiCodes[i];
        m.DpiLevels[i].DpiRangeFlags = 0;
        m.DpiLevels[i].ColorR = colors[i][0];
        m.DpiLevels[i].ColorG = colors[i][1];
        m.DpiLevels[i].ColorB = colors[i][2];
    }
    m.DpiLightMode = 1;
    m.DpiLightBrightness = 128;
    m.DpiLightSpeed = 3;
    m.DpiLightEnable = 1;
    m.MouseLightMode = 1;
    m.MouseLightRed = 255;
    m.MouseLightGreen = 0;
    m.MouseLightBlue = 0;
    m.MouseLightSpeed = 4;
    m.MouseLightBrightness = 9;
    m.MouseLightEnable = 1;
    static const ButtonKeyEntry defaults[8] = {{1, 1, 0}, {1, 2, 0}, {1, 4, 0}, {1, 8, 0},
                                               {1, 16, 0}, {2, 1, 0}, {2, 2, 0}, {2, 3, 0}};
    for (int b = 0; b < qMin(buttonCount, 8); ++b) m.ButtonKeys[b] = defaults[b];
    QByteArray flash;
    Encode(m, &flash, nullptr);
    return flash;
}

}  // namespace SimFlash
