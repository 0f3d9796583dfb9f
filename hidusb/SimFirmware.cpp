#include "SimFirmware.h"

#include <cstring>

namespace SimFirmware {

namespace {
uint32_t ReadLe32(const unsigned char* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
uint16_t ReadLe16(const unsigned char* p) { return uint16_t(p[0] | (p[1] << 8)); }
void WriteLe32(char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = char((v >> (8 * i)) & 0xFF);
}
void WriteLe16(char* p, uint16_t v) {
    p[0] = char(v & 0xFF);
    p[1] = char(v >> 8);
}
}  // namespace

uint32_t Crc32(const unsigned char* data, size_t length, uint32_t crc) {
    crc = ~crc;
    for (size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

bool Parse(const unsigned char* image, Info* info, QString* error) {
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (!image) return fail("no image");
    if (std::memcmp(image, "VZFW", 4) != 0) return fail("not a firmware image (bad magic)");
    if (ReadLe16(image + 4) != 1 || ReadLe16(image + 6) != kHeaderSize) return fail("unknown header format");
    const uint32_t payload = ReadLe32(image + 8);
    if (payload > kMaxPayload) return fail("payload length out of range");
    if (Crc32(image + 16, size_t(kHeaderSize - 16) + payload) != ReadLe32(image + 12))
        return fail("checksum mismatch");
    const uint8_t type = image[0x14];
    if (type != kTypeMouse && type != kTypeReceiver) return fail("unknown device type");
    if (info) {
        info->version = ReadLe32(image + 0x10);
        info->type = type;
        info->cid = image[0x15];
        info->mid = image[0x16];
        info->model = QByteArray(reinterpret_cast<const char*>(image + 0x57), int(qstrnlen(
                                     reinterpret_cast<const char*>(image + 0x57), 64)));
        info->payloadLength = payload;
    }
    return true;
}

QByteArray Build(uint8_t type, uint8_t cid, uint8_t mid, const QByteArray& model, uint32_t version,
                 const QByteArray& payload) {
    QByteArray image(kHeaderSize, '\0');
    char* h = image.data();
    std::memcpy(h, "VZFW", 4);
    WriteLe16(h + 4, 1);
    WriteLe16(h + 6, kHeaderSize);
    WriteLe32(h + 8, uint32_t(payload.size()));
    WriteLe32(h + 0x10, version);
    h[0x14] = char(type);
    h[0x15] = char(cid);
    h[0x16] = char(mid);
    const QByteArray tag = "Vorlant ZEMB simulated firmware";
    std::memcpy(h + 0x17, tag.constData(), size_t(qMin(tag.size(), 64)));
    std::memcpy(h + 0x57, model.constData(), size_t(qMin(model.size(), 64)));
    image += payload;
    const uint32_t crc =
        Crc32(reinterpret_cast<const unsigned char*>(image.constData()) + 16, size_t(image.size() - 16));
    WriteLe32(image.data() + 12, crc);
    return image;
}

}  // namespace SimFirmware
