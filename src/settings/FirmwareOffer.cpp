#include "settings/FirmwareOffer.h"

#include "core/ConfigIni.h"
#include "core/DeviceAllInfo.h"
#include "core/DeviceProductTable.h"
#include "dialogs/ContainReset.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/UpDateWarning.h"
#include "home/DialogChange.h"
#include "settings/FormSetting.h"
#include "settings/UpDateRepair.h"

bool RunFirmwareOffer(QWidget* window, const DeviceAllInfo& receiver, const QString& mouseVersion) {
    const DialogChange::FirmwareUpdates updates = DialogChange::FindFirmwareUpdates(receiver, mouseVersion);
    if (updates.Receiver == updates.Mouse) return false;
    if (updates.Mouse) {
        UpDateWarning notice;
        notice.SetText(WiredModeText);
        ModalRunner::RunOver(notice, window, -20, 0);
        return true;
    }
    ContainReset confirm;
    confirm.SetText(NewFirmwareTipText);
    ModalRunner::RunOver(confirm, window, -20, 0);
    if (!confirm.Confirmed) return true;
    // The receiver image the search above chose is flashed as one stage.
    ConfigIni* table = ConfigIni::GetInstance();
    UpDateRepair repair;
    ModalRunner::Place(repair, window);
    repair.StartRepairUpgradeDirect(
        0, DeviceProductTable::ReceiverClass(receiver.Type), table->GetValue("Option", "CID").toInt(),
        table->GetValue(DeviceProductTable::DriveGroup(receiver.DriveIndex), "MID").toInt());
    ModalRunner::Run(repair);
    return true;
}
