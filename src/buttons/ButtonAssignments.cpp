// The button page's assignment step, the fixed-function handlers the defaults use, the default appliers
// and the slots that keep the macro page's edits on the device.
#include <QButtonGroup>
#include <QScrollBar>
#include <QToolButton>
#include <cstring>

#include "buttons/Buttoninterface.h"
#include "core/ConfigIni.h"
#include "core/CurrentFlashData.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "dialogs/MacroName.h"
#include "macro/MacroFiles.h"
#include "platform/Clock.h"
#include "ui_Buttoninterface.h"

namespace {
constexpr int kMacroSaveDelayMs = 1500;

FlashDataMap ImageCopy() {
    std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
    return CurrentFlashData;
}
}  // namespace

int Buttoninterface::SelectedDeviceButton() const {
    for (int row = 1; row <= kRowCount; ++row)
        if (RowButton(row)->isChecked()) return RowDeviceButton(row);
    return -1;
}

QString Buttoninterface::RowMacroName(int row) const {
    const QString text = RowButton(row)->text().remove(QChar('\0'));
    if (MacroPrefixText.isEmpty() || !text.startsWith(MacroPrefixText)) return QString();
    return text.mid(MacroPrefixText.size());
}

void Buttoninterface::AssignEntry(int type, int param1, int param2, const QToolButton* chooser) {
    AssignEntry(type, param1, param2, chooser->text());
}

void Buttoninterface::AssignEntry(int type, int param1, int param2, const QString& rowText) {
    const int button = SelectedDeviceButton();
    if (button >= 0 && SetButtonKey(button, type, param1, param2)) {
        DeviceButtonRow(button)->setText(rowText);
        SetButtonState(button, type, param1, param2);
    } else {
        ShowSelectedRowFunction();
    }
    CloseChooser();
}

void Buttoninterface::AssignFirstLevel(bool checked, int type, int param1, int param2,
                                       const QToolButton* chooser) {
    if (!checked) return;
    UncheckFunctionButtons();
    AssignEntry(type, param1, param2, chooser);
}

void Buttoninterface::on_LeftKey_3_clicked(bool checked) {
    if (checked) ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    AssignFirstLevel(checked, 1, 1, 0, ui->LeftKey_3);
}
void Buttoninterface::on_RightKey_3_clicked(bool checked) {
    AssignFirstLevel(checked, 1, 2, 0, ui->RightKey_3);
}
void Buttoninterface::on_MidKey_clicked(bool checked) {
    AssignFirstLevel(checked, 1, 4, 0, ui->MidKey);
}
void Buttoninterface::on_BackKey_2_clicked(bool checked) {
    AssignFirstLevel(checked, 1, 8, 0, ui->BackKey_2);
}
void Buttoninterface::on_ForWardKey_clicked(bool checked) {
    AssignFirstLevel(checked, 1, 16, 0, ui->ForWardKey);
}
void Buttoninterface::on_DPI_2_clicked(bool checked) {
    AssignFirstLevel(checked, 7, 0, 0, ui->DPI_2);
}
void Buttoninterface::on_DPI_5_clicked(bool checked) {
    AssignFirstLevel(checked, 0, 0, 0, ui->DPI_5);
}
void Buttoninterface::on_DPI_6_clicked(bool checked) {
    AssignFirstLevel(checked, 4, FireIntervalChoice, FireCountChoice, ui->DPI_6);
}
void Buttoninterface::on_VolumeUp_8_clicked(bool checked) {
    if (checked) AssignEntry(2, 1, 0, ui->VolumeUp_8);
}
void Buttoninterface::on_VolumeUp_9_clicked(bool checked) {
    if (checked) AssignEntry(2, 2, 0, ui->VolumeUp_9);
}
void Buttoninterface::on_VolumeUp_10_clicked(bool checked) {
    if (checked) AssignEntry(2, 3, 0, ui->VolumeUp_10);
}
void Buttoninterface::on_DPI_3_clicked(bool checked) {
    AssignFirstLevel(checked, 9, 0, 0, ui->DPI_3);
}
void Buttoninterface::on_VolumeUp_2_clicked(bool checked) {
    if (checked) AssignEntry(3, 1, 0, ui->VolumeUp_2);
}
void Buttoninterface::on_VolumeDown_2_clicked(bool checked) {
    if (checked) AssignEntry(3, 2, 0, ui->VolumeDown_2);
}
void Buttoninterface::on_VolumeUp_14_clicked(bool checked) {
    if (checked) AssignEntry(11, 1, 0, ui->VolumeUp_14);
}
void Buttoninterface::on_VolumeDown_14_clicked(bool checked) {
    if (checked) AssignEntry(11, 2, 0, ui->VolumeDown_14);
}
void Buttoninterface::on_VolumeUp_4_clicked(bool checked) {
    if (checked) AssignEntry(8, 0, 0, ui->VolumeUp_4);
}
void Buttoninterface::on_VolumeUp_5_clicked(bool checked) {
    if (checked) AssignEntry(8, 1, 0, ui->VolumeUp_5);
}
void Buttoninterface::on_VolumeUp_6_clicked(bool checked) {
    if (checked) AssignEntry(8, 3, 0, ui->VolumeUp_6);
}
void Buttoninterface::on_VolumeUp_7_clicked(bool checked) {
    if (checked) AssignEntry(8, 4, 0, ui->VolumeUp_7);
}

// A DPI lock sends the device's index of the value; the lists keep the whole index, the entry its low byte.
void Buttoninterface::AssignDpiLock(bool checked, int dpi, const QToolButton* value) {
    if (!checked) return;
    AssignEntry(10, DpiValueToIndex(dpi), 0, ui->DPI_4->text() + "-" + value->text());
}
void Buttoninterface::on_VolumeUp_11_clicked(bool checked) {
    AssignDpiLock(checked, 100, ui->VolumeUp_11);
}
void Buttoninterface::on_VolumeUp_12_clicked(bool checked) {
    AssignDpiLock(checked, 200, ui->VolumeUp_12);
}
void Buttoninterface::on_VolumeUp_13_clicked(bool checked) {
    AssignDpiLock(checked, 300, ui->VolumeUp_13);
}
void Buttoninterface::on_VolumeUp_16_clicked(bool checked) {
    AssignDpiLock(checked, 400, ui->VolumeUp_16);
}
void Buttoninterface::on_VolumeUp_15_clicked(bool checked) {
    AssignDpiLock(checked, 500, ui->VolumeUp_15);
}
void Buttoninterface::on_VolumeUp_19_clicked(bool checked) {
    AssignDpiLock(checked, 600, ui->VolumeUp_19);
}
void Buttoninterface::on_VolumeUp_20_clicked(bool checked) {
    AssignDpiLock(checked, 700, ui->VolumeUp_20);
}
void Buttoninterface::on_VolumeUp_22_clicked(bool checked) {
    AssignDpiLock(checked, 800, ui->VolumeUp_22);
}
void Buttoninterface::on_VolumeUp_18_clicked(bool checked) {
    AssignDpiLock(checked, 900, ui->VolumeUp_18);
}
void Buttoninterface::on_VolumeUp_24_clicked(bool checked) {
    AssignDpiLock(checked, 1000, ui->VolumeUp_24);
}
void Buttoninterface::on_VolumeUp_23_clicked(bool checked) {
    AssignDpiLock(checked, 1100, ui->VolumeUp_23);
}
void Buttoninterface::on_VolumeUp_21_clicked(bool checked) {
    AssignDpiLock(checked, 1200, ui->VolumeUp_21);
}

void Buttoninterface::on_DPI_12_clicked() {
    ui->stackedWidget_2->setCurrentWidget(ui->page_3);
}
void Buttoninterface::on_DPI_9_clicked() {
    ui->stackedWidget_2->setCurrentWidget(ui->page_6);
}
void Buttoninterface::on_DPI_4_clicked() {
    ui->stackedWidget_2->setCurrentWidget(ui->page_8);
}
void Buttoninterface::on_DPI_11_clicked() {
    ui->stackedWidget_2->setCurrentWidget(ui->page_4);
}
void Buttoninterface::on_DPI_7_clicked() {
    ui->stackedWidget_2->setCurrentWidget(ui->page_7);
}
void Buttoninterface::on_DPI_13_clicked() {
    ui->stackedWidget_2->setCurrentWidget(ui->page_10);
}

QVector<Buttoninterface::MediaKey> Buttoninterface::MediaKeys() const {
    return {
        {0x0183, ui->Player, 0},         {0x00CD, ui->StartPause_2, 1},   {0x00B5, ui->BackMusic_2, 2},
        {0x00B6, ui->TopMusic_2, 3},     {0x00B7, ui->Mute, 4},           {0x00E2, ui->VolumeUp, 5},
        {0x00E9, ui->VolumeDown, 6},     {0x00EA, ui->VolumeDown_4, 7},   {0x018A, ui->VolumeDown_5, 8},
        {0x0192, ui->VolumeDown_6, 9},   {0x0194, ui->VolumeDown_3, 10},  {0x0223, ui->VolumeDown_8, 11},
        {0x0221, ui->VolumeDown_9, 12},  {0x0225, ui->VolumeDown_7, 14},  {0x0224, ui->VolumeDown_10, 13},
        {0x0226, ui->VolumeDown_12, 15}, {0x0227, ui->VolumeDown_13, 16}, {0x022A, ui->VolumeDown_11, 17}};
}

const Buttoninterface::MediaKey* Buttoninterface::FindMediaKey(int low, const QVector<MediaKey>& keys) {
    for (const MediaKey& key : keys)
        if ((key.Usage & 0xFF) == low) return &key;
    return nullptr;
}

QToolButton* Buttoninterface::MediaChooser(int low) const {
    const QVector<MediaKey> keys = MediaKeys();
    const MediaKey* key = FindMediaKey(low, keys);
    return key ? key->Chooser : nullptr;
}

bool Buttoninterface::SendMediaKey(int button, int usage) {
    QToolButton* row = DeviceButtonRow(button);
    QToolButton* chooser = MediaChooser(usage & 0xFF);
    if (!row || !chooser) return false;
    if (!SetButtonAction(button, ButtonKeyEntry{5, 0, 0}, MakeMediaRecord(usage >> 8, usage & 0xFF)))
        return false;
    SetButtonState(button, 5, 0, 0);
    row->setText(chooser->text());
    return true;
}

bool Buttoninterface::ApplyMediaKey(int button, int code) {
    if (!DeviceButtonRow(button)) return false;
    const QVector<MediaKey> keys = MediaKeys();
    const MediaKey* key = FindMediaKey(code, keys);
    if (!key) return false;
    SendMediaKey(button, key->Usage);
    return true;
}

void Buttoninterface::AssignMedia(bool checked, int usage) {
    if (!checked) return;
    if (!SendMediaKey(SelectedDeviceButton(), usage)) ShowSelectedRowFunction();
    CloseChooser();
}

void Buttoninterface::on_Player_clicked(bool checked) {
    AssignMedia(checked, 0x0183);
}
void Buttoninterface::on_StartPause_2_clicked(bool checked) {
    AssignMedia(checked, 0x00CD);
}
void Buttoninterface::on_BackMusic_2_clicked(bool checked) {
    AssignMedia(checked, 0x00B5);
}
void Buttoninterface::on_TopMusic_2_clicked(bool checked) {
    AssignMedia(checked, 0x00B6);
}
void Buttoninterface::on_Mute_clicked(bool checked) {
    AssignMedia(checked, 0x00B7);
}
void Buttoninterface::on_VolumeUp_clicked(bool checked) {
    AssignMedia(checked, 0x00E2);
}
void Buttoninterface::on_VolumeDown_clicked(bool checked) {
    AssignMedia(checked, 0x00E9);
}
void Buttoninterface::on_VolumeDown_4_clicked(bool checked) {
    AssignMedia(checked, 0x00EA);
}
void Buttoninterface::on_VolumeDown_5_clicked(bool checked) {
    AssignMedia(checked, 0x018A);
}
void Buttoninterface::on_VolumeDown_6_clicked(bool checked) {
    AssignMedia(checked, 0x0192);
}
void Buttoninterface::on_VolumeDown_3_clicked(bool checked) {
    AssignMedia(checked, 0x0194);
}
void Buttoninterface::on_VolumeDown_8_clicked(bool checked) {
    AssignMedia(checked, 0x0223);
}
void Buttoninterface::on_VolumeDown_9_clicked(bool checked) {
    AssignMedia(checked, 0x0221);
}
void Buttoninterface::on_VolumeDown_7_clicked(bool checked) {
    AssignMedia(checked, 0x0225);
}
void Buttoninterface::on_VolumeDown_10_clicked(bool checked) {
    AssignMedia(checked, 0x0224);
}
void Buttoninterface::on_VolumeDown_12_clicked(bool checked) {
    AssignMedia(checked, 0x0226);
}
void Buttoninterface::on_VolumeDown_13_clicked(bool checked) {
    AssignMedia(checked, 0x0227);
}
void Buttoninterface::on_VolumeDown_11_clicked(bool checked) {
    AssignMedia(checked, 0x022A);
}

bool Buttoninterface::ApplyKeyCombination(int button, const QString& text) {
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    UncheckFunctionButtons();
    KeyActionRecord record{};
    QToolButton* row = DeviceButtonRow(button);
    const bool usable = row && ComboTextToRecord(text, record);
    if (usable && SetButtonAction(button, ButtonKeyEntry{5, 0, 0}, record)) {
        SetButtonState(button, 5, 0, 0);
        row->setText(text);
    } else {
        ShowSelectedRowFunction();
    }
    ui->stackedWidget->setCurrentWidget(ui->page_2);
    ui->scrollArea_11->verticalScrollBar()->setStyleSheet("QScrollBar {width:10px;}");
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    return usable;
}

bool Buttoninterface::LoadMacroFile(const QString& name, MacroRecord& record) {
    MacroFiles::MacroFileContent content;
    record = MacroRecord{};
    if (!UiLive || MacroFilePath(name).isEmpty() || !MacroFiles::ReadMacroFile(MacroFilePath(name), content))
        return false;
    // The record the macro page itself sends for the same list.
    record = MacroFiles::EntriesToRecord(name, content.Entries);
    return true;
}

void Buttoninterface::slotButtonClicked(bool checked) {
    const auto* macroButton = qobject_cast<const QToolButton*>(sender());
    if (!checked || !macroButton) return;
    // The list may be rebuilt while the offline notice runs: the name is taken first.
    const QString name = macroButton->text();
    const int button = SelectedDeviceButton();
    MacroRecord record{};
    bool assigned = false;
    if (button >= 0 && LoadMacroFile(name, record)) {
        const int repeat = ReadMacroRepeat(name).toInt();
        assigned = SetButtonMacro(button, ButtonKeyEntry{6, uint8_t(button), uint8_t(repeat & 0xFF)}, record);
        if (assigned) {
            DeviceButtonRow(button)->setText(MacroPrefixText + name);
            SetButtonState(button, 6, button, repeat);
        }
    }
    if (!assigned) ShowSelectedRowFunction();
    CloseChooser();
}

void Buttoninterface::SlotDeleteMacroButton(QString MacroName) {
    // The macro page sends the row label of the deleted macro.
    QStringList rowTexts;
    for (int row = 1; row <= kRowCount; ++row) rowTexts << RowButton(row)->text().remove(QChar('\0'));
    const QString group = DriveGroup();
    QVector<QStringList> keyParams(kDeviceButtonCount);
    for (int j = 1; j <= kDeviceButtonCount; ++j) {
        const QStringList list =
            ConfigIni::GetInstance()->GetStringList(group, "KeyParam" + QString::number(j));
        if (list.value(0) == QLatin1String("0x05")) keyParams[j - 1] = list;
    }
    using Handler = void (Buttoninterface::*)(bool);
    struct Default {
        QToolButton* Chooser;
        Handler Apply;
    };
    const Default defaults[kRowCount] = {
        {ui->LeftKey_3, &Buttoninterface::on_LeftKey_3_clicked},
        {ui->RightKey_3, &Buttoninterface::on_RightKey_3_clicked},
        {ui->MidKey, &Buttoninterface::on_MidKey_clicked},
        {ui->ForWardKey, &Buttoninterface::on_ForWardKey_clicked},
        {ui->BackKey_2, &Buttoninterface::on_BackKey_2_clicked},
        {ui->VolumeUp_8, &Buttoninterface::on_VolumeUp_8_clicked},
        {ui->VolumeUp_9, &Buttoninterface::on_VolumeUp_9_clicked},
        {ui->VolumeUp_10, &Buttoninterface::on_VolumeUp_10_clicked},
        {ui->DPI_2, &Buttoninterface::on_DPI_2_clicked},
        {ui->DPI_2, &Buttoninterface::on_DPI_2_clicked},
        {ui->DPI_6, &Buttoninterface::on_DPI_6_clicked},
        {ui->DPI_5, &Buttoninterface::on_DPI_5_clicked},
        {ui->DPI_5, &Buttoninterface::on_DPI_5_clicked},
        {ui->DPI_5, &Buttoninterface::on_DPI_5_clicked},
        {ui->DPI_5, &Buttoninterface::on_DPI_5_clicked},
        {ui->DPI_5, &Buttoninterface::on_DPI_5_clicked},
    };
    for (int row = 1; row <= kRowCount; ++row) {
        if (rowTexts[row - 1] != MacroName) continue;
        const int k = RowDeviceButton(row);
        RowButton(row)->setChecked(true);
        defaults[row - 1].Chooser->setChecked(true);
        const QStringList& params = keyParams[k];
        bool applied = false;
        if (params.size() == 3) {
            bool ok = false;
            const int code = params[2].toInt(&ok, 16);
            applied = ok && ApplyMediaKey(k, code);
        } else if (params.size() == 4) {
            applied = ApplyKeyCombination(k, params[3]);
        }
        // A default that cannot be applied gives the row's fixed default, so the macro does not stay.
        if (!applied) {
            const Handler apply = defaults[row - 1].Apply;
            (this->*apply)(true);
            std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
            std::memset(&CurrentFlashData.ButtonActions[k], 0, sizeof(KeyActionRecord));
        }
    }
    UncheckRows();
    CloseChooser();
    UpdateFlashData();
}

void Buttoninterface::SlotMacroRename(QString Rename, QString Name) {
    const QString name = MacroName::CutToBytes(Name);
    const QByteArray bytes = name.toLocal8Bit();
    for (int row = 1; row <= kRowCount; ++row) {
        if (RowMacroName(row) != Rename || !MacroName::IsValid(name)) continue;
        const int k = RowDeviceButton(row);
        const FlashDataMap image = ImageCopy();
        MacroRecord record = image.ButtonMacros[k];
        std::memset(record.Name, 0, sizeof record.Name);
        std::memcpy(record.Name, bytes.constData(), size_t(qMin(bytes.size(), int(sizeof record.Name))));
        record.NameLength = uint8_t(qMin(bytes.size(), int(sizeof record.Name)));
        if (SetButtonMacro(k, image.ButtonKeys[k], record)) RowButton(row)->setText(MacroPrefixText + name);
    }
}

void Buttoninterface::SlotUpDataMacro(QString MacroName, int index) {
    QList<int> buttons;
    for (int row = 1; row <= kRowCount; ++row)
        if (RowMacroName(row) == MacroName) buttons << RowDeviceButton(row);
    if (index == 0) {
        DelayMsec(kMacroSaveDelayMs);
        for (int k : buttons) PostMsg::GetInstance()->EmitSigMacroDownLoadData(MacroName, k);
    } else if (index == 1) {
        const int repeat = ReadMacroRepeat(MacroName).toInt() & 0xFF;
        for (int k : buttons) {
            const FlashDataMap image = ImageCopy();
            ButtonKeyEntry entry = image.ButtonKeys[k];
            entry.Param2 = uint8_t(repeat);
            SetButtonMacro(k, entry, image.ButtonMacros[k]);
        }
    }
}
