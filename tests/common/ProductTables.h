#pragma once
// Small product tables for the device tests, written into the test's HOME.
#include <QFile>
#include <QString>

#include "TestEnv.h"

namespace ProductTables {

// A product table of the given text; returns its path.
inline QString WriteText(const QString& name, const QString& text) {
    const QString path = TestEnv::FreshDir("table-" + name) + "/Config.ini";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return QString();
    file.write(text.toUtf8());
    return path;
}

// Two models of CID 35 (MID 6 and 7) with the given Drive1 lines appended; extra Option lines too. The
// table's "DeviceTotal" says two unless deviceTotal gives another count.
inline QString Write(const QString& name, const QString& drive1Extra, const QString& optionExtra = QString(),
                     const QString& pidLines = QString(), const QString& deviceTotal = QStringLiteral("2")) {
    const QString pids = pidLines.isEmpty()
                             ? QString(
                                   "USB_PID=NTAwMQ==\nWireless_PID=NjAwMQ==\nWireless2_PID=NjAwMg==\n"
                                   "Wireless4_PID=NjAwNA==\nWireless8_PID=NjAwOA==\n")
                             : pidLines;
    const QString text = "[Option]\nDeviceTotal=" + deviceTotal + "\nCID=MzU=\nVID=M0ExQg==\n" + pids +
                         "ShowBatteryValue=1\n" + optionExtra +
                         "\n[Drive1]\nMID=6\nSensor=MzM5NQ==\nKeyNumber=8\n" + drive1Extra +
                         "\n[Drive2]\nMID=7\nSensor=Mzk1MA==\nKeyNumber=6\nAdveanced=-1,0\n";
    return WriteText(name, text);
}

}  // namespace ProductTables
