#include "firmware/BootDevices.h"

#include "core/ConfigIni.h"
#include "core/DeviceProductTable.h"
#include "hidusb/HIDUsb.h"

namespace {
// The model name of a kind in a section; empty when the table names none.
QString ModelOf(ConfigIni* table, int type, int receiverClass, const QString& section) {
    if (type == kMouseFirmware) return table->GetValue(section, "MM");
    const QString key = ReceiverModelKey(receiverClass);
    return key.isEmpty() ? QString() : table->GetValue(section, key);
}

WaitingDevice Model(ConfigIni* table, const QList<InstalledImage>& images, int type, int receiverClass,
                    const QString& section) {
    WaitingDevice device;
    device.Type = type;
    device.ReceiverClass = type == kReceiverFirmware ? receiverClass : 0;
    device.Cid = table->GetValue("Option", "CID").toInt();
    device.Mid = table->GetValue(section, "MID").toInt();
    device.Section = section;
    device.Model = ModelOf(table, type, receiverClass, section);
    if (!device.Model.isEmpty())
        device.Image = ChooseFirmware(images, type, QString(), device.Model, device.Cid, device.Mid);
    return device;
}
}  // namespace

int CountWaitingDevices(const FirmwareImage& image) {
    if (!image) return 0;
    int count = 5;
    if (!UsbUpgradeC_FindBootDevices(reinterpret_cast<const unsigned char*>(image->constData()), &count))
        return 0;
    return count;
}

QList<WaitingDevice> FindWaitingDevices() {
    return FindWaitingDevices(InstalledImages());
}

QList<WaitingDevice> FindWaitingDevices(const QList<InstalledImage>& images) {
    QList<WaitingDevice> receivers, mice;
    if (images.isEmpty()) return receivers;
    ConfigIni* table = ConfigIni::GetInstance();
    QList<const QByteArray*> asked;
    const auto ask = [&](QList<WaitingDevice>& into, WaitingDevice device) {
        // One query per image: two classes that name one model are one device.
        if (!device.Image || asked.contains(device.Image.get())) return;
        asked << device.Image.get();
        device.Count = CountWaitingDevices(device.Image);
        if (device.Count > 0) into << device;
    };
    const int total = DeviceProductTable::DeviceTotal();
    for (int n = 0; n < total; ++n) {
        const QString section = DeviceProductTable::DriveGroup(n);
        for (const int receiverClass : {1, 2, 4, 8})
            ask(receivers, Model(table, images, kReceiverFirmware, receiverClass, section));
        ask(mice, Model(table, images, kMouseFirmware, 0, section));
    }
    return receivers + mice;
}

FirmwareImage RepairImageOf(const QList<InstalledImage>& images, int type, int receiverClass,
                            const QString& section) {
    return Model(ConfigIni::GetInstance(), images, type, receiverClass, section).Image;
}

QString SectionOfMid(int mid) {
    const int total = DeviceProductTable::DeviceTotal();
    for (int n = 0; n < total; ++n) {
        const QString mids = DeviceProductTable::MidText(n);
        if (!mids.isEmpty() && mids.toInt() == mid) return DeviceProductTable::DriveGroup(n);
    }
    return QString();
}
