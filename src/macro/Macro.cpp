#include "macro/Macro.h"

#include <QButtonGroup>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QPersistentModelIndex>
#include <QSignalBlocker>

#include "core/CurrentFlashData.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "dialogs/DeleteConfirm.h"
#include "dialogs/ExeIsRun.h"
#include "dialogs/FileChooser.h"
#include "dialogs/InportFail.h"
#include "dialogs/KeyNumberLimit.h"
#include "dialogs/MacroName.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/ProfileFile.h"
#include "dialogs/QuestionDialog.h"
#include "dialogs/SameMacro.h"
#include "keys/AddDelayTime.h"
#include "keys/KeyTables.h"
#include "keys/addKey.h"
#include "platform/DebugLog.h"
#include "platform/Paths.h"
#include "platform/WholeFile.h"
#include "ui_Macro.h"
#include "widgets/ColorText.h"

using MacroFiles::MacroEntry;

namespace {

// Offsets of the dialogs the page opens.
constexpr int kNoticeDx = -100;
constexpr int kNoticeDy = -50;
constexpr int kKeyDialogDx = -50;
constexpr int kKeyDialogDy = -70;
// The fixed delay never exceeds what the device's dialogs accept.
constexpr int kMaxFixedDelay = 65535;
// Delay between the events a user inserts.
constexpr int kInsertedDelay = 10;
// Import failure notice text (see InportFail).
constexpr int kImportResultMacroFile = 3;

// Event-chooser entries 4..8 (left, right, middle, forward, back): mouse-button bit and the
// index of its name in MouseButtonNames.
struct ChooserButton {
    int Bit;
    int NameIndex;
};
const ChooserButton kChooserButtons[5] = {{0x01, 0}, {0x02, 1}, {0x04, 2}, {0x10, 4}, {0x08, 3}};

QString StartFolder() {
    return QDir::homePath();
}

}  // namespace

Macro::Macro(QWidget* parent) : QWidget(parent), ui(new Ui_Macro) {
    ui->setupUi(this);
    PictureFolder = Paths::InstallDir() + "/Picture/Macro/";
    MacroFolder = Paths::UserDataDir() + "/usersetting/MacroPage";
    QDir().mkpath(MacroFolder);
    // Nothing writes the folder yet: what a write cut short by a kill left there goes.
    WholeFile::RemoveLeftovers(MacroFolder, "*.ini");

    PostMsg::Connect(SIGNAL(SigButtonToMacro(FlashDataMap, int)), this,
                     SLOT(SlotButtonToMacro(FlashDataMap, int)));
    PostMsg::Connect(SIGNAL(SigMacroDownLoadData(QString, int)), this,
                     SLOT(SlotMacroDownLoadData(QString, int)));
    PostMsg::Connect(SIGNAL(SigSetMacroPage()), this, SLOT(SlotSetMacroPage()));

    // The random delay is not offered.
    ui->EasyDelay->hide();
    ui->ReUntilLooseLabel_2->hide();
    ui->ChooseMode->hide();

    // Styled before they are filled, so that the items take their styled height.
    ButtonColorText = OptionColorText("ButtonColor");
    ApplyStyles();
    LoadMacroList();

    DelayModeGroup = new QButtonGroup(this);
    DelayModeGroup->setExclusive(true);
    DelayModeGroup->addButton(ui->AutoInsertDelay);
    DelayModeGroup->addButton(ui->DefaultDelay);
    DelayModeGroup->addButton(ui->EasyDelay);
    LoopModeGroup = new QButtonGroup(this);
    LoopModeGroup->setExclusive(true);
    LoopModeGroup->addButton(ui->ReUntilLoose);
    LoopModeGroup->addButton(ui->ReUntilClick);
    LoopModeGroup->addButton(ui->ReNumber);
    LoopModeGroup->addButton(ui->ReUntil);
    ui->ReNumber->setChecked(true);

    ui->StartRecord->setFocusPolicy(Qt::NoFocus);
    ui->StopRecord->hide();
    ui->AutoInsertDelay->setChecked(true);
    connect(LoopModeGroup, QOverload<QAbstractButton*, bool>::of(&QButtonGroup::buttonToggled), this,
            &Macro::LoopChangedHandler);
    SetSaveEnabled(false);

    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    SlotAllLanguage(CurrentLanguage);
}

Macro::~Macro() {
    MacroKeyHook.Unhook();
    if (HookBound) {
        ::MacroKeyHook::Callback() = nullptr;
        MacroRecording = false;
    }
    delete ui;
}

// ---------------------------------------------------------------------------------------------
// Styles and texts

void Macro::ApplyStyles() {
    const QString pictures = PictureFolder;
    setStyleSheet(QString());
    ui->MacroPage->setStyleSheet(
        "#MacroPage{background:transparent;}"
        "#PanelMacros,#PanelEvents,#PanelOptions{background-color:#262A33;border:0px;border-radius:8px;}"
        "#LoopTitle{background-color:#3A3F4B;}");

    const QString listStyle =
        "QListWidget{background:transparent;border:0px;outline:0px;color:rgb(255,255,255);}"
        "QListWidget::item{height:28px;padding-left:6px;}"
        "QListWidget::item:selected{color:rgb(255,255,255);background:qlineargradient(x1:0,y1:0,x2:1,y2:0,"
        "stop:0 #ff6a00,stop:1 rgba(255,106,0,60));}"
        "QScrollBar:vertical{width:20px;background:transparent;margin:20px 0px 20px 0px;}"
        "QScrollBar::handle:vertical{background:rgb(80,84,94);border-radius:4px;min-height:30px;margin:0px "
        "5px;}"
        "QScrollBar::sub-line:vertical{height:20px;subcontrol-position:top;subcontrol-origin:margin;"
        "border-image:url(" +
        pictures + "Up.png);}" +
        "QScrollBar::add-line:vertical{height:20px;subcontrol-position:bottom;subcontrol-origin:margin;"
        "border-image:url(" +
        pictures + "Down.png);}" +
        "QScrollBar::add-page:vertical,QScrollBar::sub-page:vertical{background:none;}";
    ui->listWidgetHong->setStyleSheet(listStyle);
    ui->listWidgetKey->setStyleSheet(listStyle);

    const QString comboText = OptionColorText("ComboxTextColor");
    const QString comboBack = OptionColorText("ComboxBackGroundColor");
    const QString comboSelect = OptionColorText("ComboxSelectColor");
    const QString comboStyle =
        "QComboBox{combobox-popup:0;color:rgb(" + comboText +
        ");border:0px;padding-left:10px;border-image:url(" + pictures +
        "ComboboxBack.png);}"
        "QComboBox::drop-down{width:30px;border:0px;background-color:rgb(" +
        comboBack + ");image:url(" + pictures + "Menu.png);}" + "QComboBox::drop-down:hover{image:url(" +
        pictures + "MenuClicked.png);}" + "QComboBox QAbstractItemView{color:rgb(" + comboText +
        ");border:0px;outline:0px;border-image:url(" + pictures +
        "ComboboxTextBack.png);selection-color:rgb(255,255,255);selection-background-color:rgb(" +
        comboSelect + ");}" + "QComboBox QAbstractItemView::item{height:25px;}" +
        "QComboBox QAbstractItemView::item:hover{color:rgb(255,255,255);background-color:rgb(" + comboSelect +
        ");}";
    for (QComboBox* combo :
         {static_cast<QComboBox*>(ui->ChooseEvent), static_cast<QComboBox*>(ui->ChooseMode)}) {
        combo->setView(new QListView(combo));
        combo->setMaxVisibleItems(5);
        combo->setStyleSheet(comboStyle);
    }
    // The chooser's empty first item only stands for "nothing chosen": its list does not offer it.
    // Qt counts a hidden row against the visible ones: one more keeps five events in view.
    static_cast<QListView*>(ui->ChooseEvent->view())->setRowHidden(0, true);
    ui->ChooseEvent->setMaxVisibleItems(6);

    const QString labelColor = OptionColorText("LabelColor");
    for (QLabel* label : findChildren<QLabel*>())
        label->setStyleSheet("QLabel{color:rgb(" + labelColor +
                             ");}QLabel:disabled{color:rgb(127,127,127);}");
    ui->LoopTitle->setStyleSheet("QLabel{background-color:#3A3F4B;}");
    const QString checkStyle = "QCheckBox{color:rgb(" + labelColor +
                               ");spacing:8px;}QCheckBox::indicator{width:16px;height:16px;}"
                               "QCheckBox::indicator:unchecked{image:url(" +
                               pictures + "CheckBox.png);}QCheckBox::indicator:checked{image:url(" +
                               pictures + "CheckBoxCheck.png);}QCheckBox:disabled{color:rgb(127,127,127);}";
    for (QCheckBox* box : findChildren<QCheckBox*>()) box->setStyleSheet(checkStyle);

    const QString buttonStyle =
        "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;"
        "color: rgb(" +
        ButtonColorText + ");background-image: url(" + pictures + "Button.png" +
        ");}QToolButton:hover{background-image: url(" + pictures + "ButtonHover.png" +
        "); }QToolButton:pressed{background-image: url(" + pictures + "ButtonClick.png" + "); }";
    for (QWidget* button : {ui->NewHong, ui->DeleteHong, ui->Amend, ui->DeleteKey})
        button->setStyleSheet(buttonStyle);

    const auto recordStyle = [&](const QString& picture, const QString& hover) {
        return "QPushButton{border:0px;background-position:center;background-repeat:no-repeat;color:rgb(" +
               ButtonColorText + ");background-image:url(" + pictures + picture +
               ");}QPushButton:hover{background-image:url(" + pictures + hover + ");}";
    };
    ui->StartRecord->setStyleSheet(recordStyle("Record.png", "RecordHover.png"));
    ui->StopRecord->setStyleSheet(recordStyle("Stop.png", "StopHover.png"));

    const QString spinStyle = "QSpinBox{background-color:rgb(63, 63, 63);color:rgb(" +
                              OptionColorText("LinEditColorSecond") +
                              ");border:0px;}QSpinBox:disabled{color:rgb(127,127,127);}";
    ui->DelayTime->setStyleSheet(spinStyle);
    ui->NumberEdit->setStyleSheet(spinStyle);
}

void Macro::SetSaveEnabled(bool enabled) {
    if (enabled) {
        ui->Save->setStyleSheet(
            "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(" +
            ButtonColorText + ";);background-image: url(" + PictureFolder + "Button.png" +
            ");}QToolButton:hover{background-image: url(" + PictureFolder + "ButtonHover.png" +
            "); }QToolButton:pressed{background-image: url(" + PictureFolder + "ButtonClick.png" + "); }");
    } else {
        ui->Save->setStyleSheet(
            "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: "
            "rgb(127,127,127);background-image: url(" +
            PictureFolder + "Button.png" + ");}");
    }
    ui->Save->setEnabled(enabled);
}

void Macro::SlotAllLanguage(int index) {
    const auto macroText = [index](const char* key) { return LanguageText(MouseMacroTexts, index, key); };
    const auto eventLabel = [index](const char* key) {
        return LanguageText(MouseInsertEventLabels, index, key);
    };
    ui->label->setText(macroText("MacroList"));
    ui->label_2->setText(macroText("KeyList"));
    ui->NewHong->setText(macroText("NewMacro"));
    ui->NewHong->setToolTip(QString());
    ui->EasyDelay->setText(macroText("randomDelay"));
    ui->DeleteHong->setText(macroText("Delete"));
    ui->DeleteKey->setText(macroText("Delete"));
    ui->Amend->setText(macroText("Modify"));
    ui->StartRecord->setText(macroText("StartRecord"));
    ui->StopRecord->setText(macroText("StopRecord"));
    ui->AutoInsertDelayLabel->setText(macroText("AutoDelay"));
    ui->DefaultDelay->setText(macroText("DefaultDelay"));
    ui->ReUntilLooseLabel->setText(macroText("UntilThisReleased"));
    ui->ReUntilClickLabel->setText(macroText("UntilAnyPressed"));
    ui->ReUntilLabel->setText(macroText("UntilThisPressed"));
    ui->ReNumber->setText(macroText("CycleTimes"));
    ui->label_3->setText(macroText("InsertEvent"));
    ui->ChooseEvent->setItemText(0, QString());
    ui->ChooseEvent->setItemText(1, eventLabel("0"));
    ui->ChooseEvent->setItemText(2, eventLabel("1"));
    ui->ChooseEvent->setItemText(3, macroText("Delay"));
    for (int i = 0; i < 5; ++i)
        ui->ChooseEvent->setItemText(4 + i, eventLabel(QByteArray::number(i + 2).constData()));
    for (int i = 0; i < ui->ChooseMode->count() && i < 10; ++i)
        ui->ChooseMode->setItemText(i, LanguageText(MouseRandomDelayLabels, index, QString::number(i)));
    ui->Save->setText(LanguageText(MouseCommonTexts, index, "Save"));
    MacroLabelPrefix = macroText("MacroSeond");
    MenuExportText = macroText("MacroExport");
    MenuRenameText = macroText("Rename");
    MenuDeleteText = macroText("Delete");
    MenuNewText = macroText("NewMacro");
    MenuImportText = macroText("MacroImport");

    SetMouseButtonNames(index);
    // Mouse-button events take the names of the new language; the events themselves do not change.
    const QSignalBlocker blocker(ui->listWidgetKey);
    for (int row = 0; row < ui->listWidgetKey->count(); ++row) {
        QListWidgetItem* item = ui->listWidgetKey->item(row);
        if (item->data(DelayRole).toBool() || item->data(KindRole).toInt() != KeyKindMouseButton) continue;
        const QString name = MouseCodeToName(item->data(CodeRole).toInt());
        if (!name.isEmpty()) item->setText(name);
    }
}

// ---------------------------------------------------------------------------------------------
// Macro list

void Macro::LoadMacroList() {
    for (const QString& name : MacroFiles::MacroNamesIn(MacroFolder)) ui->listWidgetHong->addItem(name);
}

QString Macro::MacroFilePath(const QString& name) const {
    return MacroFolder + "/" + name + ".ini";
}

QString Macro::ShownMacro() const {
    return ShownItem ? ShownItem->text() : QString();
}

bool Macro::HasMacro(const QString& name) const {
    for (int row = 0; row < ui->listWidgetHong->count(); ++row)
        if (ui->listWidgetHong->item(row)->text() == name) return true;
    return false;
}

void Macro::on_listWidgetHong_clicked(const QModelIndex& index) {
    QListWidgetItem* item = ui->listWidgetHong->item(index.row());
    if (item) SelectMacro(item);
}

void Macro::SelectMacro(QListWidgetItem* item) {
    SetSaveEnabled(false);
    ui->listWidgetKey->clear();
    ShownItem = item;
    ui->listWidgetHong->setCurrentItem(item);
    // The edits of the macro shown before are dropped, and with them their marks.
    EventsChanged = false;
    LoopChanged = false;
    const QSignalBlocker loopBlocker(LoopModeGroup);
    const QSignalBlocker numberBlocker(ui->NumberEdit);
    LoadMacroFile();
}

void Macro::ApplyRepeat(int repeat) {
    if (repeat == 254) {
        ui->ReUntilLoose->setChecked(true);
    } else if (repeat == 255) {
        ui->ReUntilClick->setChecked(true);
    } else if (repeat == 253) {
        ui->ReUntil->setChecked(true);
    } else {
        ui->ReNumber->setChecked(true);
        ui->NumberEdit->setValue(repeat >= 1 && repeat <= 250 ? repeat : 1);
    }
}

int Macro::RepeatValue() const {
    if (ui->ReUntilLoose->isChecked()) return 254;
    if (ui->ReUntilClick->isChecked()) return 255;
    if (ui->ReUntil->isChecked()) return 253;
    return ui->NumberEdit->value();
}

void Macro::on_NewHong_clicked() {
    if (MacroRecording) {
        ShowStopRecordHint();
        return;
    }
    QuestionDialog input;
    input.SetTitle(false);
    ModalRunner::RunOver(input, this, kNoticeDx, kNoticeDy);
    const QString name = input.MacroName;
    if (name.isEmpty() || !MacroName::IsValid(name)) return;
    // A file of that name that the list does not show is not emptied either.
    if (HasMacro(name) || QFile::exists(MacroFilePath(name))) {
        SameMacro notice;
        ModalRunner::RunOver(notice, this, kNoticeDx, kNoticeDy);
        return;
    }
    if (!ClearMacroFile(MacroFilePath(name))) {
        ShowWriteFail(WriteFail::Action::MacroCreate);
        return;
    }
    auto* item = new QListWidgetItem(name);
    ui->listWidgetHong->addItem(item);
    ui->listWidgetHong->setCurrentItem(item);
    ShownItem = item;
    ui->listWidgetKey->clear();
    ui->ReNumber->setChecked(true);
    ui->NumberEdit->setValue(1);
}

void Macro::CreateMewMacro() {
    on_NewHong_clicked();
}

void Macro::RenameMacro() {
    QListWidgetItem* item = ui->listWidgetHong->currentItem();
    if (!item) return;
    QuestionDialog input;
    input.SetTitle(true);
    ModalRunner::RunOver(input, this, kNoticeDx, kNoticeDy);
    const QString name = input.MacroName;
    if (name.isEmpty() || !MacroName::IsValid(name)) return;
    const QString oldName = item->text();
    if (HasMacro(name) || QFile::exists(MacroFilePath(name))) {
        SameMacro notice;
        ModalRunner::RunOver(notice, this, kNoticeDx, kNoticeDy);
        return;
    }
    // The file first: when it cannot be renamed, the macro keeps its name.
    if (!QFile::rename(MacroFilePath(oldName), MacroFilePath(name))) return;
    item->setText(name);
    PostMsg::GetInstance()->EmitSigMacroRename(oldName, name);
}

void Macro::on_DeleteHong_clicked() {
    if (MacroRecording) {
        ShowStopRecordHint();
        return;
    }
    DeleteMacroItem(ui->listWidgetHong->currentItem());
}

void Macro::DeleteMacro() {
    on_DeleteHong_clicked();
}

void Macro::DeleteMacroItem(QListWidgetItem* item) {
    if (!item) return;
    DeleteConfirm confirm;
    ModalRunner::RunOver(confirm, this, kNoticeDx, kNoticeDy);
    if (!confirm.Confirmed) return;
    const QString name = item->text();
    const QString path = MacroFilePath(name);
    // A file that stays would bring the macro back at the next start: keep it listed.
    if (!QFile::remove(path) && QFile::exists(path)) return;
    PostMsg::GetInstance()->EmitSigDeleteMacroButton(MacroLabelPrefix + name);
    delete item;
    ShownItem = nullptr;
    ui->listWidgetKey->clear();
    ui->listWidgetHong->setCurrentItem(nullptr);
    ui->listWidgetHong->clearSelection();
}

QMenu* Macro::ContextMenu(const QPoint& position) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setFont(ui->listWidgetHong->font());
    menu->setStyleSheet(
        "QMenu{background-color:#262A33;color:#E6E6E6;border:1px solid #3A3F4B;}"
        "QMenu::item{padding:6px 24px;}QMenu::item:selected{background-color:#E8442E;}");
    if (ui->listWidgetHong->itemAt(position)) {
        ui->listWidgetHong->setCurrentItem(ui->listWidgetHong->itemAt(position));
        menu->addAction(MenuExportText, this, &Macro::ExPortMacro);
        menu->addAction(MenuRenameText, this, &Macro::RenameMacro);
        menu->addAction(MenuDeleteText, this, &Macro::DeleteMacro);
    } else {
        menu->addAction(MenuNewText, this, &Macro::CreateMewMacro);
        menu->addAction(MenuImportText, this, &Macro::InPortMacro);
    }
    for (QAction* action : menu->actions()) action->setFont(ui->listWidgetHong->font());
    return menu;
}

void Macro::on_listWidgetHong_customContextMenuRequested(const QPoint& position) {
    QMenu* menu = ContextMenu(position);
    menu->exec(QCursor::pos());
    menu->close();
    // The highlight goes back to the macro shown.
    if (ShownItem) {
        ui->listWidgetHong->setCurrentItem(ShownItem);
    } else {
        ui->listWidgetHong->setCurrentItem(nullptr);
        ui->listWidgetHong->clearSelection();
    }
}

// ---------------------------------------------------------------------------------------------
// Loop options and saving

void Macro::LoopChangedHandler() {
    LoopChanged = true;
    SetSaveEnabled(true);
}

void Macro::on_NumberEdit_valueChanged(int value) {
    Q_UNUSED(value);
    LoopChangedHandler();
}

void Macro::on_DelayTime_valueChanged(int value) {
    if (value > kMaxFixedDelay - 1) ui->DelayTime->setValue(kMaxFixedDelay);
}

void Macro::on_listWidgetKey_itemChanged(QListWidgetItem* item) {
    Q_UNUSED(item);
    EventsChanged = true;
}

void Macro::on_Save_clicked() {
    if (MacroRecording) {
        ShowStopRecordHint();
        return;
    }
    SetSaveEnabled(false);
    if (!ShownItem) return;
    const QString name = ShownItem->text();
    // Written whole through a temporary file: no emptying first, and no wait for it.
    if (!SaveMacroFile(QString::number(RepeatValue()))) {
        SetSaveEnabled(true);  // nothing was saved; the user may try again
        ShowWriteFail(WriteFail::Action::MacroSave);
        return;
    }
    if (EventsChanged) {
        PostMsg::GetInstance()->EmitSigUpDataMacro(name, 0);
        EventsChanged = false;
    }
    if (LoopChanged) {
        PostMsg::GetInstance()->EmitSigUpDataMacro(name, 1);
        LoopChanged = false;
    }
}

// ---------------------------------------------------------------------------------------------
// Macro files

void Macro::LoadMacroFile() {
    if (!ShownItem) return;
    ui->listWidgetKey->clear();
    MacroFiles::MacroFileContent content;
    if (!MacroFiles::ReadMacroFile(MacroFilePath(ShownItem->text()), content)) return;
    if (content.HasFirstLine) ApplyRepeat(content.Repeat);
    const QSignalBlocker blocker(ui->listWidgetKey);
    for (const MacroEntry& entry : content.Entries) ui->listWidgetKey->addItem(MakeItem(entry));
}

void Macro::CreateMacroFile() {
    if (ShownItem) ClearMacroFile(MacroFilePath(ShownItem->text()));
}

bool Macro::ClearMacroFile(const QString& path) {
    return MacroFiles::ClearFile(path);
}

bool Macro::SaveMacroFile(const QString& repeatText) {
    if (!ShownItem) return false;
    return MacroFiles::WriteMacroFile(MacroFilePath(ShownItem->text()), repeatText, Entries());
}

void Macro::ExPortMacro() {
    QListWidgetItem* item = ui->listWidgetHong->currentItem();
    if (!item) return;
    // Name, events and loop always belong to one macro: the one shown.
    if (item != ShownItem) SelectMacro(item);
    // Taken before the file dialog, whose event loop may let the page change.
    const QString name = ShownItem->text();
    const QString repeat = QString::number(RepeatValue());
    const QVector<MacroEntry> entries = Entries();
    const QString path = FileChooser::GetSaveFileName(this, "FileSave", StartFolder(), "File(*.ini)");
    if (path.isEmpty()) return;
    if (!MacroFiles::WriteExport(path, name, repeat, entries, PictureFolder))
        ShowWriteFail(WriteFail::Action::MacroExport);
}

void Macro::InPortMacro() {
    const QString path = FileChooser::GetOpenFileName(this, "SelectFile", StartFolder(), "File(*.ini)");
    if (path.isEmpty()) return;
    MacroFiles::ExportContent content;
    if (MacroFiles::ReadExport(path, content) != MacroFiles::ImportError::None) {
        ImportResult = kImportResultMacroFile;
        InportFail notice;
        ModalRunner::RunOver(notice, this, kNoticeDx, kNoticeDy);
        return;
    }
    if (HasMacro(content.Name) || QFile::exists(MacroFilePath(content.Name))) {
        SameMacro notice;
        ModalRunner::RunOver(notice, this, kNoticeDx, kNoticeDy, QSize(300, 110));
        return;
    }
    if (!MacroFiles::WriteMacroFile(MacroFilePath(content.Name), QString::number(content.Repeat),
                                    content.Entries)) {
        ShowWriteFail(WriteFail::Action::MacroImport);
        return;
    }
    auto* item = new QListWidgetItem(content.Name);
    ui->listWidgetHong->addItem(item);
    SelectMacro(item);
}

// ---------------------------------------------------------------------------------------------
// Event list

QListWidgetItem* Macro::MakeItem(const MacroEntry& entry) const {
    const bool release = entry.IsRelease();
    const QString icon = entry.IsDelay() ? "MacroTime.png" : (release ? "MacroUp.png" : "MacroDown.png");
    auto* item = new QListWidgetItem(QIcon(PictureFolder + icon), entry.Text, nullptr,
                                     release ? ReleaseItemType : PressItemType);
    item->setData(DelayRole, entry.IsDelay());
    item->setData(KindRole, entry.Kind);
    item->setData(CodeRole, entry.Code);
    return item;
}

QVector<MacroEntry> Macro::Entries() const {
    QVector<MacroEntry> entries;
    for (int row = 0; row < ui->listWidgetKey->count(); ++row) {
        const QListWidgetItem* item = ui->listWidgetKey->item(row);
        if (item->data(DelayRole).toBool())
            entries << MacroEntry::DelayText(item->text());
        else
            entries << MacroEntry::Event(item->text(), item->type() == PressItemType,
                                         item->data(KindRole).toInt(), item->data(CodeRole).toInt());
    }
    return entries;
}

bool Macro::IsDelayRow(int row) const {
    const QListWidgetItem* item = ui->listWidgetKey->item(row);
    return item && item->data(DelayRole).toBool();
}

int Macro::EventCount() const {
    int events = 0;
    for (int row = 0; row < ui->listWidgetKey->count(); ++row)
        if (!IsDelayRow(row)) ++events;
    return events;
}

bool Macro::RoomForEvents(int added) {
    if (EventCount() + added <= MacroFiles::kMaxEvents) return true;
    ShowEventLimit();
    return false;
}

void Macro::InsertEntry(int row, const MacroEntry& entry) {
    ui->listWidgetKey->insertItem(row, MakeItem(entry));
}

void Macro::AddKeyItem(const QString& name, bool press) {
    if (!ShownItem) return;
    QListWidgetItem* item = MakeItem(MacroEntry::Event(name, press));
    ui->listWidgetKey->addItem(item);
    ui->listWidgetKey->setCurrentItem(item);
}

void Macro::AddDelayItem(double ms) {
    if (!ShownItem) return;
    ui->listWidgetKey->addItem(MakeItem(MacroEntry::Delay(ms)));
    ui->listWidgetKey->setCurrentRow(ui->listWidgetKey->count() - 2);
}

void Macro::InsertKeyEvent(const QString& name, bool press) {
    const int r = ui->listWidgetKey->currentRow();
    const int n = ui->listWidgetKey->count();
    const MacroEntry key = MacroEntry::Event(name, press);
    const MacroEntry delay = MacroEntry::Delay(kInsertedDelay);
    if (r == 0 && n > 1) {
        InsertEntry(2, key);
        InsertEntry(3, delay);
    } else if (r == -1 && n == 0) {
        InsertEntry(0, key);
    } else if (r == -1 || r == n - 1) {
        // After the last event (also a lone one): a delay first, so the list keeps alternating.
        InsertEntry(n, delay);
        InsertEntry(n + 1, key);
    } else if (IsDelayRow(r)) {
        InsertEntry(r + 1, key);
        InsertEntry(r + 2, delay);
    } else {
        InsertEntry(r + 2, key);
        InsertEntry(r + 3, delay);
    }
}

void Macro::InsertMouseClick(const QString& name, int buttonBit) {
    const int r = ui->listWidgetKey->currentRow();
    const int n = ui->listWidgetKey->count();
    const MacroEntry press = MacroEntry::Event(name, true, KeyKindMouseButton, buttonBit);
    const MacroEntry release = MacroEntry::Event(name, false, KeyKindMouseButton, buttonBit);
    const MacroEntry delay = MacroEntry::Delay(kInsertedDelay);
    if (r == 0 && n > 1) {
        for (const auto& [row, entry] :
             {std::pair<int, MacroEntry>{2, press}, {3, delay}, {4, release}, {5, delay}})
            InsertEntry(row, entry);
    } else if (r == -1 && n == 0) {
        InsertEntry(0, press);
        InsertEntry(1, delay);
        InsertEntry(2, release);
    } else if (r == -1 || r == n - 1) {
        InsertEntry(n, delay);
        InsertEntry(n + 1, press);
        InsertEntry(n + 2, delay);
        InsertEntry(n + 3, release);
    } else if (IsDelayRow(r)) {
        InsertEntry(r + 1, press);
        InsertEntry(r + 2, delay);
        InsertEntry(r + 3, release);
        InsertEntry(r + 4, delay);
    } else {
        InsertEntry(r + 1, delay);
        InsertEntry(r + 2, press);
        InsertEntry(r + 3, delay);
        InsertEntry(r + 4, release);
    }
}

bool Macro::InsertDelay(double ms) {
    const int r = ui->listWidgetKey->currentRow();
    const int n = ui->listWidgetKey->count();
    const MacroEntry delay = MacroEntry::Delay(ms);
    if (r == -1) {
        InsertEntry(n, delay);
        return true;
    }
    if (r == 0) return false;  // the first event has no delay before it
    int row = r;
    if (IsDelayRow(r)) {
        delete ui->listWidgetKey->takeItem(r);
    } else if (IsDelayRow(r - 1)) {
        row = r - 1;
        delete ui->listWidgetKey->takeItem(row);
    }
    InsertEntry(row, delay);
    ui->listWidgetKey->setCurrentRow(row);
    return true;
}

void Macro::on_ChooseEvent_activated(int index) {
    if (index == 1 || index == 2) {
        addKey dialog;
        const int result = ModalRunner::RunOver(dialog, this, kKeyDialogDx, kKeyDialogDy);
        if (result != QDialog::Accepted || !dialog.OkFlag || !ShownItem) return;
        if (!RoomForEvents(1)) return;
        EventsChanged = true;
        InsertKeyEvent(dialog.KeyName, index == 1);
        SetSaveEnabled(true);
    } else if (index == 3) {
        AddDelayTime dialog;
        ModalRunner::RunOver(dialog, this, kKeyDialogDx, kKeyDialogDy);
        if (!dialog.OkFlag || !ShownItem || !ui->listWidgetKey->currentItem()) return;
        if (!InsertDelay(dialog.Delay)) return;
        EventsChanged = true;
        SetSaveEnabled(true);
    } else if (index >= 4 && index <= 8) {
        if (!ShownItem || !RoomForEvents(2)) return;
        const ChooserButton& button = kChooserButtons[index - 4];
        EventsChanged = true;
        InsertMouseClick(MouseButtonNames[button.NameIndex], button.Bit);
        SetSaveEnabled(true);
    }
}

void Macro::on_Amend_clicked() {
    if (MacroRecording) {
        ShowStopRecordHint();
        return;
    }
    const int row = ui->listWidgetKey->currentRow();
    if (row < 0) return;
    // The list may change while a dialog runs (a device refresh): find the item again afterwards.
    const QPersistentModelIndex index(ui->listWidgetKey->model()->index(row, 0));
    const auto itemAfterDialog = [&]() {
        return index.isValid() ? ui->listWidgetKey->item(index.row()) : nullptr;
    };
    if (IsDelayRow(row)) {
        AddDelayTime dialog;
        ModalRunner::RunOver(dialog, this, kKeyDialogDx, kKeyDialogDy);
        QListWidgetItem* item = itemAfterDialog();
        if (!dialog.OkFlag || !item) return;
        item->setText(QString::number(dialog.Delay) + "ms");
    } else {
        addKey dialog;
        const int result = ModalRunner::RunOver(dialog, this, kKeyDialogDx, kKeyDialogDy);
        QListWidgetItem* item = itemAfterDialog();
        if (result != QDialog::Accepted || !dialog.OkFlag || !item) return;
        // The key changes with the name; a press stays a press.
        const MacroEntry entry = MacroEntry::Event(dialog.KeyName, true);
        item->setData(KindRole, entry.Kind);
        item->setData(CodeRole, entry.Code);
        item->setText(entry.Text);
    }
    SetSaveEnabled(true);
}

void Macro::on_DeleteKey_clicked() {
    if (MacroRecording) {
        ShowStopRecordHint();
        return;
    }
    if (!ShownItem) return;
    QListWidget* list = ui->listWidgetKey;
    if (list->count() <= 3) {
        list->clear();
        EventsChanged = true;
        SetSaveEnabled(true);
        return;
    }
    const int r = list->currentRow();
    if (r < 0) return;
    const int n = list->count();
    if (r != n - 1 && IsDelayRow(r)) {
        delete list->takeItem(r);
        delete list->takeItem(r - 1);
    } else {
        delete list->takeItem(r);
        const int next = list->currentRow();
        if (next >= 0) delete list->takeItem(next);
    }
    EventsChanged = true;
    SetSaveEnabled(true);
}

// ---------------------------------------------------------------------------------------------
// Recording

void Macro::SetRecordingLook(bool recording) {
    for (QWidget* box : {static_cast<QWidget*>(ui->AutoInsertDelay), static_cast<QWidget*>(ui->DefaultDelay),
                         static_cast<QWidget*>(ui->EasyDelay), static_cast<QWidget*>(ui->ReUntilLoose),
                         static_cast<QWidget*>(ui->ReUntilClick), static_cast<QWidget*>(ui->ReUntil),
                         static_cast<QWidget*>(ui->ReNumber)})
        box->setEnabled(!recording);
    for (QWidget* label :
         {ui->AutoInsertDelayLabel, ui->ReUntilLooseLabel, ui->ReUntilClickLabel, ui->ReUntilLabel})
        label->setEnabled(!recording);
    ui->ChooseEvent->setEnabled(!recording);
    ui->DelayTime->setEnabled(!recording);
    ui->NumberEdit->setEnabled(!recording);
    ui->listWidgetHong->setEnabled(!recording);
    ui->StartRecord->setVisible(!recording);
    ui->StopRecord->setVisible(recording);
}

void Macro::on_StartRecord_clicked() {
    if (!ShownItem) {
        ExeIsRun hint;
        hint.ShowSelectMacroHint();
        ModalRunner::RunOver(hint, this, kNoticeDx, kNoticeDy);
        return;
    }
    PostMsg::GetInstance()->EmitSigStartRecord(0);
    RecordedCount = 0;
    EventsChanged = true;
    MacroKeyHook.SetHook();
    ::MacroKeyHook::Callback() = [this](int key, bool down, bool repeat) {
        UpdateCapslockTip(key, down, repeat);
    };
    HookBound = true;
    SetRecordingLook(true);
    MacroRecording = true;
    FirstEvent = true;
    ui->listWidgetKey->clear();
    LastKey = -1;
}

void Macro::UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu) {
    Q_UNUSED(aotu);
    qCDebug(VzDebug) << downOrUp;
    if (!MacroRecording) {
        RecordTimer.Restart();
        return;
    }
    // Auto-repeated presses of the held key are dropped.
    if (keyCode == LastKey) {
        if (downOrUp) return;
        LastKey = 0;
    } else {
        LastKey = keyCode;
    }
    // A key without a name adds nothing, not even its delay: the time runs on into the next one.
    const std::optional<QString> name = VirtualKeyToName(keyCode, true);
    if (!name) return;
    if (FirstEvent) {
        RecordTimer.Restart();
        FirstEvent = false;
    } else {
        const qint64 elapsed = RecordTimer.ElapsedMs();
        qCDebug(VzDebug) << elapsed;
        AddDelayItem(ui->AutoInsertDelay->isChecked() ? double(elapsed) : double(ui->DelayTime->value()));
        RecordTimer.Restart();
    }
    ++RecordedCount;
    AddKeyItem(*name, downOrUp);
    if (RecordedCount >= MacroFiles::kMaxEvents) {
        MacroRecording = false;
        RecordedCount = 0;
        MacroKeyHook.Unhook();
        ShowEventLimit();
    }
}

void Macro::on_StopRecord_clicked() {
    PostMsg::GetInstance()->EmitSigStartRecord(1);
    MacroKeyHook.Unhook();
    RecordedCount = 0;
    SetRecordingLook(false);
    MacroRecording = false;
    SetSaveEnabled(true);
    LastKey = -1;
}

void Macro::SlotSetMacroPage() {
    // A recording under way (or stopped at the event limit) ends as Stop ends it: its events stay in
    // the list, unsaved, and Save takes them.
    if (!ui->StopRecord->isHidden()) {
        on_StopRecord_clicked();
        return;
    }
    PostMsg::GetInstance()->EmitSigStartRecord(1);
    MacroKeyHook.Unhook();
    SetRecordingLook(false);
    MacroRecording = false;
    LastKey = -1;
    SetSaveEnabled(false);
}

// ---------------------------------------------------------------------------------------------
// Transfer to and from a device button

void Macro::SlotMacroDownLoadData(QString MacroName, int index) {
    if (index < 0 || index >= kDeviceButtonCount) return;
    ButtonKeyEntry entry;
    {
        std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
        entry = CurrentFlashData.ButtonKeys[index];
    }
    if (!ShownItem) return;
    MacroName.remove(QChar(0));
    if (MacroName != ShownItem->text() || !UiLive) return;
    const MacroRecord record = MacroFiles::EntriesToRecord(MacroName, Entries());
    SetButtonMacro(index, entry, record);
}

void Macro::SlotButtonToMacro(FlashDataMap DataMap, int KeyNumer) {
    if (KeyNumer < 0 || KeyNumer >= kDeviceButtonCount) return;
    const MacroRecord& record = DataMap.ButtonMacros[KeyNumer];
    const QString name = MacroFiles::RecordName(record, KeyNumer);
    ui->listWidgetKey->clear();
    // The whole file at once, from the button's repeat value and the record's events: when it cannot be
    // written the old file stays and the user is told.
    const QString path = MacroFilePath(name);
    const QString repeat = QString::number(DataMap.ButtonKeys[KeyNumer].Param2);
    if (!MacroFiles::WriteMacroFile(path, repeat, MacroFiles::RecordToEntries(record))) TellRebuildFailed();
    // A macro without a file has no place in the list.
    if (!HasMacro(name) && QFileInfo(path).isFile()) {
        const int current = ui->listWidgetHong->currentRow();
        if (current >= 0)
            ui->listWidgetHong->insertItem(current + 1, name);
        else
            ui->listWidgetHong->addItem(name);
    }
    ShownItem = nullptr;
    ui->listWidgetHong->setCurrentItem(nullptr);
    ui->listWidgetHong->clearSelection();
    PostMsg::GetInstance()->EmitSigAddMacroButton();
    ui->listWidgetKey->clear();
}

// ---------------------------------------------------------------------------------------------
// Hints and page events

void Macro::ShowStopRecordHint() {
    ExeIsRun hint;
    hint.ShowStopRecordHint();
    ModalRunner::RunOver(hint, this, kNoticeDx, kNoticeDy);
}

void Macro::ShowEventLimit() {
    KeyNumberLimit notice;
    ModalRunner::RunOver(notice, this, kNoticeDx, kNoticeDy);
}

void Macro::ShowWriteFail(WriteFail::Action action) {
    WriteFail notice(action);
    ModalRunner::RunOver(notice, this, kNoticeDx, kNoticeDy);
}

void Macro::TellRebuildFailed() {
    if (RebuildFailPending) return;
    RebuildFailPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            RebuildFailPending = false;
            ShowWriteFail(WriteFail::Action::MacroSave);
        },
        Qt::QueuedConnection);
}

void Macro::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12) return;
    QWidget::keyPressEvent(event);
}

void Macro::mousePressEvent(QMouseEvent* event) {
    // A press that reaches the page is outside both number boxes: it ends their editing.
    ui->DelayTime->clearFocus();
    ui->NumberEdit->clearFocus();
    setFocus(Qt::OtherFocusReason);
    QWidget::mousePressEvent(event);
}
