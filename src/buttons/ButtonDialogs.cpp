// The chooser entries that ask the user first: rapid fire, key combination and macro.
#include <QToolButton>

#include "buttons/Buttoninterface.h"
#include "core/DeviceAllInfo.h"
#include "device/DeviceFlags.h"
#include "dialogs/MakeMacro.h"
#include "dialogs/ModalRunner.h"
#include "hidusb/HIDUsb.h"
#include "keys/FireKey.h"
#include "keys/GroupKey.h"
#include "ui_Buttoninterface.h"

namespace {
// The dialogs sit left of and above the page's centre.
constexpr int kDialogDx = -50;
constexpr int kDialogDy = -70;
constexpr int kFireIntervalPreset = 10;
constexpr int kFireCountPreset = 3;
}  // namespace

void Buttoninterface::on_DPI_6_clicked() {
    if (!UsbFinderC_GetDeviceOnLine(CurrentDevicePathCopy().constData()) && !ButtonPageRefreshing) {
        ui->stackedWidget->setCurrentWidget(ui->page);
        ui->stackedWidget_2->setCurrentWidget(ui->page_9);
        return;
    }
    // A row that fires already opens with its own values; a button without list entries does not.
    const int button = SelectedDeviceButton();
    const bool firing = button >= 0 && DeviceButtonRow(button)->text() == ui->DPI_6->text() &&
                        button < ButtonParam1List.size() && button < ButtonParam2List.size();
    FireKey dialog;
    dialog.SetTime(firing ? ButtonParam1List[button] : kFireIntervalPreset);
    dialog.SetCount(firing ? ButtonParam2List[button] : kFireCountPreset);
    ModalRunner::RunOver(dialog, this, kDialogDx, kDialogDy);
    if (!dialog.OkFlag) return;
    FireCountChoice = dialog.Count;
    FireIntervalChoice = dialog.Interval;
    on_DPI_6_clicked(true);
}

void Buttoninterface::on_DPI_8_clicked() {
    QString text;
    {
        GroupKey dialog;
        ModalRunner::RunOver(dialog, this, kDialogDx, kDialogDy);
        if (!dialog.OkFlag) return;
        text = dialog.ResultText;
    }
    // The row is read after the dialog; without one nothing is sent but the pages still change.
    ApplyKeyCombination(SelectedDeviceButton(), text);
}

void Buttoninterface::on_DPI_10_clicked() {
    if (!MacroButtonList.isEmpty()) {
        ui->stackedWidget_2->setCurrentWidget(ui->page_5);
        return;
    }
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    MakeMacro notice;
    ModalRunner::RunOver(notice, this, kDialogDx, kDialogDy);
}
