#pragma once
// What waits in boot mode: for each model of the product table whose image lies beside the program, the
// device library's boot-device query tells how many of its devices wait for it. A device in boot mode is
// never listed, so this, not the device list, is what a repair looks at. GUI thread.

#include <QList>
#include <QString>

#include "firmware/FirmwareImages.h"

struct WaitingDevice {
    int Type = 0;           // 210 mouse, 211 receiver
    int ReceiverClass = 0;  // a receiver's class (1, 2, 4 or 8); 0 for a mouse
    int Cid = 0;
    int Mid = 0;
    QString Section;      // its model section, "Drive" + N
    QString Model;        // its model name
    FirmwareImage Image;  // the image a repair flashes: the last in name order, of any version
    int Count = 0;        // devices of this model in boot mode
};

// The models with at least one device in boot mode, receivers first, in the product table's order; among
// the images given, or those of the bin folder.
QList<WaitingDevice> FindWaitingDevices(const QList<InstalledImage>& images);
QList<WaitingDevice> FindWaitingDevices();
// The boot-device query for one image: how many devices wait in boot mode for it (0 without an image).
int CountWaitingDevices(const FirmwareImage& image);
// The model section whose MID is `mid` ("Drive" + N, the first of them); empty when none.
QString SectionOfMid(int mid);
// The image a repair flashes onto a model: kind, receiver class (receivers), section; null when none.
FirmwareImage RepairImageOf(const QList<InstalledImage>& images, int type, int receiverClass,
                            const QString& section);
