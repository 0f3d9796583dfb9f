#include "core/DeviceProductTable.h"

#include "core/ConfigIni.h"

namespace DeviceProductTable {

QString DriveGroup(int driveIndex) {
    return QStringLiteral("Drive") + QString::number(driveIndex + 1);
}

// Option/DeviceTotal, bounded by the highest "Drive<N>" section that exists, so that a damaged count
// never makes a walk over the sections run past them.
int DeviceTotal() {
    const ConfigIni* table = ConfigIni::GetInstance();
    const int declared = table->GetValue("Option", "DeviceTotal").toInt();
    int highest = 0;
    for (const QString& group : table->Groups()) {
        if (!group.startsWith(QLatin1String("Drive"))) continue;
        bool ok = false;
        const int number = group.midRef(5).toInt(&ok);
        if (ok && number > highest && number <= declared) highest = number;
    }
    return highest;
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
