#include "core/DeviceProductTable.h"

#include <QSet>

#include "core/ConfigIni.h"

namespace DeviceProductTable {

QString DriveGroup(int driveIndex) {
    return QStringLiteral("Drive") + QString::number(driveIndex + 1);
}

// Option/DeviceTotal, bounded by the sections that exist: Drive1, Drive2, ... up to the first one missing.
// A damaged count or a far section never makes a walk over the sections run past them.
int DeviceTotal() {
    const ConfigIni* table = ConfigIni::GetInstance();
    const int declared = table->GetValue("Option", "DeviceTotal").toInt();
    const QStringList names = table->Groups();
    const QSet<QString> groups(names.begin(), names.end());
    int total = 0;
    while (total < declared && groups.contains(DriveGroup(total))) ++total;
    return total;
}

QString CidText() {
    return ConfigIni::GetInstance()->GetValue("Option", "CID");
}

QString MidText(int driveIndex) {
    return ConfigIni::GetInstance()->GetValue(DriveGroup(driveIndex), "MID");
}

QStringList Vids() {
    return ConfigIni::GetInstance()->GetStringList("Option", "VID");
}

QStringList EnumerationPids() {
    QStringList pids;
    for (const char* key : {"USB_PID", "Wireless_PID", "Wireless2_PID", "Wireless4_PID", "Wireless8_PID"}) {
        for (const QString& pid : ConfigIni::GetInstance()->GetStringList("Option", key)) {
            if (!pid.isEmpty()) pids << pid;
        }
    }
    return pids;
}

QString ListItem(int driveIndex, const QString& key, int item) {
    return ConfigIni::GetInstance()->GetStringList(DriveGroup(driveIndex), key).value(item);
}

int ReceiverClass(int type) {
    switch (type) {
        case 0:
            return 1;
        case 4:
            return 2;
        case 1:
            return 4;
        case 5:
            return 8;
        default:
            return 0;
    }
}

}  // namespace DeviceProductTable
