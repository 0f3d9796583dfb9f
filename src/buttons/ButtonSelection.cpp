// Row selection of the button page: a row button opens the chooser preset to the row's function (or
// refuses the last left-click row), a hotspot on the mouse picture selects its row.
#include <QButtonGroup>
#include <QScrollBar>
#include <QToolButton>

#include "buttons/Buttoninterface.h"
#include "core/CurrentFlashData.h"
#include "device/DeviceCommand.h"
#include "dialogs/LeftButtonOnly.h"
#include "dialogs/ModalRunner.h"
#include "ui_Buttoninterface.h"

namespace {
constexpr int kNoticeDx = -50;
constexpr int kNoticeDy = -70;
// One list position is this many slider steps.
constexpr int kListStep = 15;
const char* const kRowBarShown = "QScrollBar {width:10px;}";
const char* const kRowBarHidden = "QScrollBar {width:0px;}";
// Row list slider position of each row's hotspot, rows 1..16.
constexpr int kHotspotRowPositions[Buttoninterface::kRowCount] = {0,   20,  40,  60,  80,  100, 120, 140,
                                                                  160, 180, 200, 220, 260, 280, 320, 360};
constexpr int kConsumerKind = 2;
constexpr int kDpiLockStep = 100;
constexpr int kDpiLockCount = 12;

void SetListPosition(QScrollArea* area, int position) {
    area->verticalScrollBar()->setSliderPosition(kListStep * position);
}

KeyEvent FirstKeyEvent(int button) {
    std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
    return CurrentFlashData.ButtonActions[button].Events[0];
}
}  // namespace

bool Buttoninterface::IsLastLeftClickRow(int row) const {
    const QString left = ui->LeftKey_3->text();
    if (RowButton(row)->text() != left) return false;
    int count = 0;
    for (int r = 1; r <= kRowCount; ++r)
        if (RowButton(r)->text() == left) ++count;
    return count == 1;
}

void Buttoninterface::RefuseLastLeftClickRow() {
    ui->stackedWidget->setCurrentWidget(ui->page);
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    UncheckRows();
    LeftButtonOnly notice;
    ModalRunner::RunOver(notice, this, kNoticeDx, kNoticeDy);
}

void Buttoninterface::SelectRow(int row) {
    if (IsLastLeftClickRow(row)) {
        RefuseLastLeftClickRow();
        return;
    }
    ui->scrollArea_11->verticalScrollBar()->setStyleSheet(row == 1 ? kRowBarShown : kRowBarHidden);
    PresetChooser(row);
}

void Buttoninterface::SelectRowByHotspot(int row) {
    IsDeviceOnline();
    // With the chooser open the row would take the next assignment: the last left click stays.
    if (ui->stackedWidget->currentWidget() == ui->page_2 && IsLastLeftClickRow(row)) {
        RefuseLastLeftClickRow();
        return;
    }
    RowButton(row)->setChecked(true);
    ui->scrollArea_11->verticalScrollBar()->setSliderPosition(kHotspotRowPositions[row - 1]);
}

void Buttoninterface::PresetMacroEntry(int row) {
    const QString name = RowMacroName(row);
    if (name.isEmpty()) return;
    // The fillers count for the position; the last match wins.
    for (int i = 0; i < MacroButtonList.size(); ++i) {
        if (MacroButtonList[i]->text() != name) continue;
        MacroButtonList[i]->setChecked(true);
        SetListPosition(ui->scrollArea_7, i + 1);
    }
}

void Buttoninterface::PresetChooser(int row) {
    const int button = RowDeviceButton(row);
    // A device button the lists do not hold is preset like a type no table lists.
    const bool listed = button < ButtonTypeList.size() && button < ButtonParam1List.size();
    const int type = listed ? ButtonTypeList[button] : -1;
    const int p = listed ? ButtonParam1List[button] : 0;

    struct Preset {
        QWidget* Panel;  // null: the chooser stays as it is
        QAbstractButton* First;
        QAbstractButton* Second;
        int Step;  // first-level list position
    } preset{nullptr, nullptr, nullptr, 0};
    int mediaPosition = -1;  // type 5 only
    int dpiPosition = 0;
    const auto byParam = [p](std::initializer_list<std::pair<int, QAbstractButton*>> choices) {
        for (const auto& choice : choices)
            if (choice.first == p) return choice.second;
        return static_cast<QAbstractButton*>(nullptr);
    };
    switch (type) {
        case 0:
            preset = {ui->page_9, ui->DPI_5, nullptr, 9};
            break;
        case 1: {
            preset = {ui->page_9, nullptr, nullptr, 0};
            QAbstractButton* const mouse[] = {ui->LeftKey_3, ui->RightKey_3, ui->MidKey, ui->BackKey_2,
                                              ui->ForWardKey};
            for (int i = 0; i < 5; ++i)
                if (p == 1 << i) preset = {ui->page_9, mouse[i], nullptr, i};
            break;
        }
        case 2:
            preset = {ui->page_7, ui->DPI_7,
                      byParam({{1, ui->VolumeUp_8}, {2, ui->VolumeUp_9}, {3, ui->VolumeUp_10}}), 13};
            break;
        case 3:
            preset = {ui->page_4, ui->DPI_11, byParam({{1, ui->VolumeUp_2}, {2, ui->VolumeDown_2}}), 10};
            break;
        case 4:
            preset = {ui->page_9, ui->DPI_6, nullptr, 7};
            break;
        case 5: {
            const KeyEvent event = FirstKeyEvent(button);
            const int low = event.Code & 0xFF;
            const QVector<MediaKey> keys = MediaKeys();
            const MediaKey* media = event.Kind == kConsumerKind ? FindMediaKey(low, keys) : nullptr;
            if (media) {
                mediaPosition = media->ListPosition;
                preset = {ui->page_3, ui->DPI_12, media->Chooser, 16};
            } else {
                preset = {ui->page_9, ui->DPI_8, nullptr, 8};
                mediaPosition = 0;
            }
            break;
        }
        case 6:
            preset = {ui->page_5, ui->DPI_10, nullptr, 15};
            break;
        case 7:
            preset = {ui->page_9, ui->DPI_2, nullptr, 5};
            break;
        case 8:
            preset = {
                ui->page_6, ui->DPI_9,
                byParam({{0, ui->VolumeUp_4}, {1, ui->VolumeUp_5}, {3, ui->VolumeUp_6}, {4, ui->VolumeUp_7}}),
                12};
            break;
        case 9:
            preset = {ui->page_9, ui->DPI_3, nullptr, 6};
            break;
        case 10: {
            preset = {ui->page_8, ui->DPI_4, nullptr, 15};
            QAbstractButton* const values[kDpiLockCount] = {
                ui->VolumeUp_11, ui->VolumeUp_12, ui->VolumeUp_13, ui->VolumeUp_16,
                ui->VolumeUp_15, ui->VolumeUp_19, ui->VolumeUp_20, ui->VolumeUp_22,
                ui->VolumeUp_18, ui->VolumeUp_24, ui->VolumeUp_23, ui->VolumeUp_21};
            const int value = DpiIndexToValue(p);
            const int k = value / kDpiLockStep - 1;
            if (value % kDpiLockStep == 0 && k >= 0 && k < kDpiLockCount) {
                preset.Second = values[k];
                dpiPosition = k;
            }
            break;
        }
        case 11:
            preset = {ui->page_10, ui->DPI_13, byParam({{1, ui->VolumeUp_14}, {2, ui->VolumeDown_14}}), 10};
            break;
        default:
            break;
    }

    if (preset.Panel) {
        ui->stackedWidget->setCurrentWidget(ui->page_2);
        ui->stackedWidget_2->setCurrentWidget(preset.Panel);
        if (preset.First) preset.First->setChecked(true);
        if (preset.Second) preset.Second->setChecked(true);
        if (type == 6) PresetMacroEntry(row);
    }
    SetListPosition(ui->scrollArea_4, preset.Step);
    if (mediaPosition >= 0)
        SetListPosition(ui->scrollArea_3, mediaPosition);
    else
        SetListPosition(ui->scrollArea_10, dpiPosition);
    SelectionMarks.clear();
    for (QButtonGroup* group : {FirstLevelGroup, SecondLevelGroup})
        if (group->checkedButton()) SelectionMarks << group->checkedButton();
    for (QToolButton* button : MacroButtonList)
        if (button->isChecked()) SelectionMarks << button;
}

void Buttoninterface::ShowSelectedRowFunction() {
    const QList<QPointer<QAbstractButton>> marks = SelectionMarks;
    UncheckGroup(FirstLevelGroup);
    UncheckFunctionButtons();
    for (const QPointer<QAbstractButton>& mark : marks)
        if (mark) mark->setChecked(true);
    for (int row = 1; row <= kRowCount; ++row) {
        if (!RowButton(row)->isChecked()) continue;
        PresetChooser(row);
        return;
    }
}

void Buttoninterface::on_FireKey_clicked() {
    SelectRow(1);
}
void Buttoninterface::on_RightKey_clicked() {
    SelectRow(2);
}
void Buttoninterface::on_BackKey_clicked() {
    SelectRow(3);
}
void Buttoninterface::on_StartPause_clicked() {
    SelectRow(4);
}
void Buttoninterface::on_TopMusic_clicked() {
    SelectRow(5);
}
void Buttoninterface::on_BackMusic_clicked() {
    SelectRow(6);
}
void Buttoninterface::on_Button7_clicked() {
    SelectRow(7);
}
void Buttoninterface::on_Button8_clicked() {
    SelectRow(8);
}
void Buttoninterface::on_Button9_clicked() {
    SelectRow(9);
}
void Buttoninterface::on_Button10_clicked() {
    SelectRow(10);
}
void Buttoninterface::on_Button11_clicked() {
    SelectRow(11);
}
void Buttoninterface::on_Button12_clicked() {
    SelectRow(12);
}
void Buttoninterface::on_Button13_clicked() {
    SelectRow(13);
}
void Buttoninterface::on_Button14_clicked() {
    SelectRow(14);
}
void Buttoninterface::on_Button15_clicked() {
    SelectRow(15);
}
void Buttoninterface::on_Button16_clicked() {
    SelectRow(16);
}

void Buttoninterface::on_Number1_clicked() {
    SelectRowByHotspot(1);
}
void Buttoninterface::on_Number2_clicked() {
    SelectRowByHotspot(2);
}
void Buttoninterface::on_Number3_clicked() {
    SelectRowByHotspot(3);
}
void Buttoninterface::on_Number4_clicked() {
    SelectRowByHotspot(4);
}
void Buttoninterface::on_Number5_clicked() {
    SelectRowByHotspot(5);
}
void Buttoninterface::on_Number6_clicked() {
    SelectRowByHotspot(6);
}
void Buttoninterface::on_Number7_clicked() {
    SelectRowByHotspot(7);
}
void Buttoninterface::on_Number8_clicked() {
    SelectRowByHotspot(8);
}
void Buttoninterface::on_Number9_clicked() {
    SelectRowByHotspot(9);
}
void Buttoninterface::on_Number10_clicked() {
    SelectRowByHotspot(10);
}
void Buttoninterface::on_Number11_clicked() {
    SelectRowByHotspot(11);
}
void Buttoninterface::on_Number12_clicked() {
    SelectRowByHotspot(12);
}
void Buttoninterface::on_Number13_clicked() {
    SelectRowByHotspot(13);
}
void Buttoninterface::on_Number14_clicked() {
    SelectRowByHotspot(14);
}
void Buttoninterface::on_Number15_clicked() {
    SelectRowByHotspot(15);
}
void Buttoninterface::on_Number16_clicked() {
    SelectRowByHotspot(16);
}
