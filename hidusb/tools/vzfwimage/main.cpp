// vzfwimage: writes firmware images for the simulated devices.
//   vzfwimage --defaults DIR
//       the sample images of the default devices (ZEMB_M6 mouse, ZEMB_D8 receiver) into DIR
//   vzfwimage OUT mouse|receiver CID MID MODEL VERSION [PAYLOAD_BYTES]
//       one image; VERSION as major.minor with a hexadecimal minor (1.13), CID and MID decimal
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <cstdio>

#include "hidusb/HidSimControl.h"

namespace {

QByteArray Payload(int size, uint32_t seed) {
    QByteArray payload(size, '\0');
    for (int i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        payload[i] = char(seed >> 16);
    }
    return payload;
}

bool Write(const QString& path, const QByteArray& image) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(image) != image.size()) {
        std::fprintf(stderr, "vzfwimage: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s (%d bytes)\n", qPrintable(path), int(image.size()));
    return true;
}

bool ParseVersion(const QString& text, uint32_t* version) {
    const QStringList parts = QString(text).remove('v').split('.');
    bool okMajor = false, okMinor = false;
    if (parts.size() != 2) return false;
    const uint major = parts[0].toUInt(&okMajor);
    const uint minor = parts[1].toUInt(&okMinor, 16);
    if (!okMajor || !okMinor || minor > 0xFF || major > 0xFFFFFF) return false;
    *version = (major << 8) | minor;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == "--defaults") {
        QDir().mkpath(args[1]);
        const bool ok =
            Write(args[1] + "/ZEMB_M6_v1.13.bin", HidSim::BuildFirmwareImage(210, 35, 6, "ZEMB_M6", 0x0113, Payload(8192, 6))) &&
            Write(args[1] + "/ZEMB_D8_v1.06.bin", HidSim::BuildFirmwareImage(211, 35, 6, "ZEMB_D8", 0x0106, Payload(8192, 8)));
        return ok ? 0 : 1;
    }
    uint32_t version = 0;
    if ((args.size() == 6 || args.size() == 7) && (args[1] == "mouse" || args[1] == "receiver") &&
        ParseVersion(args[5], &version)) {
        const uint8_t type = args[1] == "mouse" ? 210 : 211;
        const int size = args.size() == 7 ? args[6].toInt() : 8192;
        return Write(args[0], HidSim::BuildFirmwareImage(type, uint8_t(args[2].toUInt()), uint8_t(args[3].toUInt()),
                                                         args[4].toLocal8Bit(), version, Payload(qMax(0, size), version)))
                   ? 0
                   : 1;
    }
    std::fprintf(stderr,
                 "usage: vzfwimage --defaults DIR\n"
                 "       vzfwimage OUT mouse|receiver CID MID MODEL VERSION [PAYLOAD_BYTES]\n");
    return 2;
}
