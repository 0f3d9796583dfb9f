#pragma once
// Firmware image format of the simulated devices (728-byte header, then the payload):
//   0x00  4  magic "VZFW"
//   0x04  2  header format (1), little-endian
//   0x06  2  header size (728)
//   0x08  4  payload length in bytes
//   0x0C  4  CRC-32 of everything after these 16 bytes (rest of the header and the payload)
//   0x10  4  version: bits 0..7 minor, bits 8..31 major
//   0x14  1  device type: 210 mouse, 211 receiver
//   0x15  1  CID
//   0x16  1  MID
//   0x17 64  free text (build tag)
//   0x57 64  model name, NUL-padded
//   0x97 .. 0x2D7  zero
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace SimFirmware {

constexpr int kHeaderSize = 728;
constexpr uint32_t kMaxPayload = 8u * 1024u * 1024u;
constexpr uint8_t kTypeMouse = 210;
constexpr uint8_t kTypeReceiver = 211;

struct Info {
    uint32_t version = 0;
    uint8_t type = 0;
    uint8_t cid = 0;
    uint8_t mid = 0;
    QByteArray model;  // up to the first NUL
    uint32_t payloadLength = 0;
};

uint32_t Crc32(const unsigned char* data, size_t length, uint32_t crc = 0);

// Reads and checks an image whose length comes from its own header. False with a reason for
// anything that is not a complete, intact image of this format.
bool Parse(const unsigned char* image, Info* info, QString* error);

QByteArray Build(uint8_t type, uint8_t cid, uint8_t mid, const QByteArray& model, uint32_t version,
                 const QByteArray& payload);

// The device's 16-bit version word of an image version (major's low byte, minor).
inline uint16_t VersionWord(uint32_t version) {
    return uint16_t((((version >> 8) & 0xFFu) << 8) | (version & 0xFFu));
}

}  // namespace SimFirmware
