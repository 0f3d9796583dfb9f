#pragma once
// A temporary installation whose "bin" folder the test fills with firmware images; the product table
// stays the installed one.
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "TestEnv.h"
#include "core/ConfigIni.h"
#include "hidusb/HidSimControl.h"
#include "platform/Paths.h"

namespace FirmwareFixture {

// CID and MID of the installed table's first model, and its model names.
constexpr int kCid = 35;
constexpr int kMid = 6;
inline QByteArray MouseModel() {
    return "ZEMB_M6";
}
inline QByteArray Receiver8Model() {
    return "ZEMB_D8";
}

// A fresh installation folder sharing the build's pictures and product table; returns its path.
inline QString UseInstallation(bool withBin = true) {
    const QString dir = TestEnv::FreshDir("install");
    const QString built = QCoreApplication::applicationDirPath();
    for (const char* shared : {"Picture", "Language", "usersetting"})
        QFile::link(built + "/" + shared, dir + "/" + shared);
    if (withBin) QDir().mkpath(dir + "/bin");
    ConfigIni::ResetForTest(QCoreApplication::applicationDirPath() + "/usersetting/Config.ini");
    Paths::SetInstallDir(dir);
    return dir;
}

inline void Restore() {
    Paths::SetInstallDir(QString());
    ConfigIni::ResetForTest();
}

inline bool PutFile(const QString& name, const QByteArray& bytes) {
    QFile file(Paths::InstallDir() + "/bin/" + name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray Image(int type, int version, const QByteArray& model, int cid = kCid, int mid = kMid) {
    return HidSim::BuildFirmwareImage(uint8_t(type), uint8_t(cid), uint8_t(mid), model, uint32_t(version),
                                      QByteArray(64, '\x5A'));
}

// Both images of the default devices' model at these versions.
inline void PutPair(int receiverVersion, int mouseVersion) {
    PutFile("receiver.bin", Image(211, receiverVersion, Receiver8Model()));
    PutFile("mouse.bin", Image(210, mouseVersion, MouseModel()));
}

}  // namespace FirmwareFixture
