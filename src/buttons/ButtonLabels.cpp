// The button page's row labels decoded from a settings image, and the per-button lists.
#include <QButtonGroup>
#include <QFile>
#include <QToolButton>

#include "buttons/Buttoninterface.h"
#include "core/PostMsg.h"
#include "dialogs/MacroName.h"
#include "keys/KeyTables.h"
#include "macro/MacroFiles.h"
#include "platform/Paths.h"
#include "ui_Buttoninterface.h"

namespace {
// A decoded key combination shows at most this many names (one per press event of the record).
constexpr int kMaxComboNames = 6;
}  // namespace

QToolButton* Buttoninterface::DeviceButtonRow(int button) const {
    for (int row = 1; row <= kRowCount; ++row)
        if (RowDeviceButton(row) == button) return RowButton(row);
    return nullptr;
}

// Empty for a name that no file may carry.
QString Buttoninterface::MacroFilePath(const QString& name) {
    const QString cut = MacroName::CutToBytes(name);
    if (!MacroName::IsValid(cut)) return QString();
    return Paths::UserDataDir() + "/usersetting/MacroPage/" + cut + ".ini";
}

QString Buttoninterface::ReadMacroRepeat(const QString& name) {
    const QString path = MacroFilePath(name);
    if (path.isEmpty()) return QStringLiteral("0");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text) || file.atEnd()) return QStringLiteral("0");
    const QStringList parts = QString::fromUtf8(file.readLine()).split(' ', Qt::SkipEmptyParts);
    return parts.isEmpty() ? QString() : QString(parts.first()).remove('\n');
}

void Buttoninterface::MacroKeyNameToCode(const QString& name, int i, MacroRecord& record) {
    ::KeyNameToEvent(name, i, record);
}

QString Buttoninterface::ChooserText(int type, int param1) const {
    const auto pick = [](int value, std::initializer_list<std::pair<int, QToolButton*>> choices) -> QString {
        for (const auto& choice : choices)
            if (choice.first == value) return choice.second->text();
        return QString();
    };
    switch (type) {
        case 0:
            return ui->DPI_5->text();
        case 1:
            return pick(param1, {{1, ui->LeftKey_3},
                                 {2, ui->RightKey_3},
                                 {4, ui->MidKey},
                                 {8, ui->BackKey_2},
                                 {16, ui->ForWardKey}});
        case 2:
            return pick(param1, {{1, ui->VolumeUp_8}, {2, ui->VolumeUp_9}, {3, ui->VolumeUp_10}});
        case 3:
            return pick(param1, {{1, ui->VolumeUp_2}, {2, ui->VolumeDown_2}});
        case 4:
            return ui->DPI_6->text();
        case 7:
            return ui->DPI_2->text();
        case 8:
            return pick(param1,
                        {{0, ui->VolumeUp_4}, {1, ui->VolumeUp_5}, {3, ui->VolumeUp_6}, {4, ui->VolumeUp_7}});
        case 9:
            return ui->DPI_3->text();
        case 10:
            return ui->DPI_4->text() + "-" + QString::number(DpiIndexToValue(param1));
        case 11:
            return pick(param1, {{1, ui->VolumeUp_14}, {2, ui->VolumeDown_14}});
        default:
            return QString();
    }
}

QString Buttoninterface::KeyActionText(const KeyActionRecord& record) const {
    if (record.Events[0].Kind == 2) {
        const QToolButton* chooser = MediaChooser(record.Events[0].Code & 0xFF);
        return chooser ? chooser->text() : QString();
    }
    const int n = qMin(record.EventCount / 2, kMaxComboNames);
    QStringList names;
    for (int i = 0; i < n; ++i) names << KeyCodeToName(record.Events[i].Code & 0xFF, record.Events[i].Kind);
    return names.join('+');
}

void Buttoninterface::UpdateButtonLabel(int button, int type, int param1, int param2,
                                        const FlashDataMap& image, bool rebuildMacro) {
    QToolButton* row = DeviceButtonRow(button);
    if (!row || button >= kDeviceButtonCount) return;
    if (type == 5) {
        const KeyActionRecord& record = image.ButtonActions[button];
        const QString text = KeyActionText(record);
        if (!text.isEmpty() || record.Events[0].Kind != 2) row->setText(text);
        return;
    }
    if (type == 6) {
        const QString name = MacroFiles::RecordName(image.ButtonMacros[button], button);
        row->setText(MacroPrefixText + name);
        if (!rebuildMacro) return;
        // The macro page rebuilds the macro's whole file from the record and the row's repeat value.
        FlashDataMap rebuilt = image;
        rebuilt.ButtonKeys[button].Param2 = uint8_t(param2);
        PostMsg::GetInstance()->EmitSigButtonToMacro(rebuilt, button);
        return;
    }
    const QString text = ChooserText(type, param1);
    if (!text.isEmpty() || type == 0) row->setText(text);
}

void Buttoninterface::RelabelRows(const FlashDataMap& image, bool rebuildMacros) {
    for (int b = 0; b < ButtonTypeList.size(); ++b)
        UpdateButtonLabel(b, ButtonTypeList[b], ButtonParam1List[b], ButtonParam2List[b], image,
                          rebuildMacros);
}

void Buttoninterface::SetButtonState(int button, int type, int param1, int param2) {
    if (button < 0 || button >= ButtonTypeList.size() || button >= ButtonParam1List.size() ||
        button >= ButtonParam2List.size())
        return;
    ButtonTypeList[button] = type;
    ButtonParam1List[button] = param1;
    ButtonParam2List[button] = param2;
}

void Buttoninterface::UncheckFunctionButtons() {
    UncheckGroup(SecondLevelGroup);
    for (QToolButton* button : MacroButtonList) button->setChecked(false);
}
