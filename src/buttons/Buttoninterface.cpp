#include "buttons/Buttoninterface.h"

#include <QButtonGroup>
#include <QDir>
#include <QEvent>
#include <QFontMetrics>
#include <QListView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/ConfigIni.h"
#include "core/CurrentFlashData.h"
#include "core/LanguageTables.h"
#include "core/PictureStyles.h"
#include "core/PostMsg.h"
#include "core/SensorDefines.h"
#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "device/DeviceInfoFile.h"
#include "device/Worker.h"
#include "dialogs/FileChooser.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/ProfileFile.h"
#include "dialogs/UpDataParam.h"
#include "dialogs/WriteFail.h"
#include "hidusb/HIDUsb.h"
#include "macro/MacroFiles.h"
#include "platform/DebugLog.h"
#include "platform/Paths.h"
#include "platform/ScreenMetrics.h"
#include "ui_Buttoninterface.h"
#include "widgets/ColorText.h"
#include "widgets/StyleSheet.h"

namespace {
constexpr int kImportDx = -75;
constexpr int kImportDy = -65;
// Offsets of the page's notices.
constexpr int kNoticeDx = -50;
constexpr int kNoticeDy = -70;
// The macro list shows at least this many rows once it has one macro.
constexpr int kMacroListRows = 7;
constexpr int kPressDebounceItems = 31;
constexpr int kWheelDebounceItems = 10;
constexpr int kFactoryPressDebounce = 8;
constexpr int kFactoryDebounceItem = 2;
constexpr int kFactorySleepSeconds = 60;
// Factory assignment of each device button (type, first parameter).
constexpr int kFactoryTypes[kDeviceButtonCount] = {1, 1, 1, 1, 1, 2, 2, 2, 7, 7, 4, 0, 2, 2, 2, 2};
constexpr int kFactoryParam1s[kDeviceButtonCount] = {1, 2, 4, 8, 16, 1, 2, 3, 0, 0, 10, 0, 1, 1, 1, 1};

const char* const kScrollBarIdle = "QScrollBar {width:10px;}";
const char* const kFontFamily = "微软雅黑";

// The chooser entries keep a margin at each edge, and the ones that open a second list keep their
// picture's arrow free; a text that would not fit gets a smaller font, down to the smallest size.
constexpr int kChooserMargin = 6;
constexpr int kChooserArrowRoom = 22;
constexpr qreal kChooserSmallestPoints = 6.0;

QFont ChooserFont() {
    QFont font;
    font.setFamily(QString::fromUtf8(kFontFamily));
    font.setPointSize(9);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

QRect PageRect(const QWidget* page, const QWidget* widget) {
    return QRect(widget->mapTo(page, QPoint(0, 0)), widget->size());
}

QString UrlOf(const QString& folder, const QString& picture) {
    return "url(" + folder + picture + ")";
}

QString MacroFolder() {
    return Paths::UserDataDir() + "/usersetting/MacroPage";
}
}  // namespace

Buttoninterface::Buttoninterface(QWidget* parent) : QWidget(parent), ui(new Ui_Buttoninterface) {
    ui->setupUi(this);
    for (QToolButton* button : findChildren<QToolButton*>()) FormTexts.insert(button, button->text());
    for (QLabel* label : findChildren<QLabel*>()) FormTexts.insert(label, label->text());
    PostMsg::Connect(SIGNAL(SigMouseIndex(int)), this, SLOT(SlotMouseIndex(int)));
    PictureFolder = Paths::InstallDir() + "/Picture/Buttoninterface/";
    QDir().mkpath(Paths::UserDataDir() + "//usersetting/MainPage");
    SetMousePicture(0);

    RowGroup = new QButtonGroup(this);
    FirstLevelGroup = new QButtonGroup(this);
    SecondLevelGroup = new QButtonGroup(this);
    for (QButtonGroup* group : {RowGroup, FirstLevelGroup, SecondLevelGroup}) group->setExclusive(true);
    InitButtonGroups();

    ButtonColorList = ConfigIni::GetInstance()->GetStringList("Option", "ButtonColor");
    ButtonColorText = ColorText(ButtonColorList);
    InitMacroList();
    ui->DPI_3->hide();
    ui->DPI_9->hide();

    SensorDefines::Read(Paths::InstallDir() + "/driver_sensor.h", SensorDefineNames, SensorDefineValues);
    ApplyStyles();

    PostMsg::Connect(SIGNAL(SigUpDataLightUIButton(FlashDataMap)), this,
                     SLOT(SlotUpDataButtonUIButton(FlashDataMap)));
    PostMsg::Connect(SIGNAL(SigUpDataConfigUI(int, int, bool)), this,
                     SLOT(SlotUpDataConfigUI(int, int, bool)));
    PostMsg::Connect(SIGNAL(SigUpDataButtonUIC(FlashDataMap)), this, SLOT(SlotUpDataButtonUIB(FlashDataMap)));
    PostMsg::Connect(SIGNAL(SigAddMacroButton()), this, SLOT(SlotAddMacroButton()));
    PostMsg::Connect(SIGNAL(SigDeleteMacroButton(QString)), this, SLOT(SlotDeleteMacroButton(QString)));
    PostMsg::Connect(SIGNAL(SigUpDataMacro(QString, int)), this, SLOT(SlotUpDataMacro(QString, int)));
    PostMsg::Connect(SIGNAL(SigMacroRename(QString, QString)), this, SLOT(SlotMacroRename(QString, QString)));
    PostMsg::Connect(SIGNAL(SigFormReset()), this, SLOT(SlotFormResetButton()));

    OwnWorker = new Worker(this);
    DeviceWorker = OwnWorker;

    CloseChooser();
    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
}

Buttoninterface::~Buttoninterface() {
    // No further hub deliveries to this page; deliveries already queued for it are dropped with it, which
    // releases a device thread that waits for one.
    PostMsg::GetInstance()->disconnect(this);
    Worker::ClearRunFlag();
    OwnWorker->PollTimer()->stop();
    if (DeviceWorker == OwnWorker) DeviceWorker = nullptr;
    // A running device thread ends on its own; the worker goes once it has.
    connect(OwnWorker, &QThread::finished, OwnWorker, &QObject::deleteLater);
    if (!OwnWorker->isRunning()) delete OwnWorker;
    StopUsbChanged();
    delete ui;
}

int Buttoninterface::RowDeviceButton(int row) {
    if (row == 4) return 4;
    if (row == 5) return 3;
    return row - 1;
}

QToolButton* Buttoninterface::RowButton(int row) const {
    QToolButton* const rows[kRowCount] = {ui->FireKey,  ui->RightKey,  ui->BackKey,  ui->StartPause,
                                          ui->TopMusic, ui->BackMusic, ui->Button7,  ui->Button8,
                                          ui->Button9,  ui->Button10,  ui->Button11, ui->Button12,
                                          ui->Button13, ui->Button14,  ui->Button15, ui->Button16};
    return row >= 1 && row <= kRowCount ? rows[row - 1] : nullptr;
}

void Buttoninterface::InitButtonGroups() {
    for (int row = 1; row <= kRowCount; ++row) RowGroup->addButton(RowButton(row));
    for (QToolButton* b :
         {ui->LeftKey_3, ui->RightKey_3, ui->MidKey, ui->BackKey_2, ui->ForWardKey, ui->DPI_2, ui->DPI_3,
          ui->DPI_4, ui->DPI_5, static_cast<QToolButton*>(ui->DPI_6), ui->DPI_7,
          static_cast<QToolButton*>(ui->DPI_8), ui->DPI_9, ui->DPI_10, ui->DPI_11, ui->DPI_12, ui->DPI_13})
        FirstLevelGroup->addButton(b);
    for (QToolButton* b :
         {ui->Player,        ui->StartPause_2,  ui->BackMusic_2,   ui->TopMusic_2,   ui->Mute,
          ui->VolumeUp,      ui->VolumeDown,    ui->VolumeDown_3,  ui->VolumeDown_4, ui->VolumeDown_5,
          ui->VolumeDown_6,  ui->VolumeDown_7,  ui->VolumeDown_8,  ui->VolumeDown_9, ui->VolumeDown_10,
          ui->VolumeDown_11, ui->VolumeDown_12, ui->VolumeDown_13, ui->VolumeUp_4,   ui->VolumeUp_5,
          ui->VolumeUp_6,    ui->VolumeUp_7,    ui->VolumeUp_11,   ui->VolumeUp_12,  ui->VolumeUp_13,
          ui->VolumeUp_15,   ui->VolumeUp_16,   ui->VolumeUp_18,   ui->VolumeUp_19,  ui->VolumeUp_20,
          ui->VolumeUp_21,   ui->VolumeUp_22,   ui->VolumeUp_23,   ui->VolumeUp_24,  ui->VolumeDown_2,
          ui->VolumeUp_2,    ui->VolumeUp_10,   ui->VolumeUp_8,    ui->VolumeUp_9,   ui->VolumeUp_14,
          ui->VolumeDown_14})
        SecondLevelGroup->addButton(b);
}

void Buttoninterface::SetMousePicture(int index) {
    ui->widget->setStyleSheet(
        "#widget{border:0px;background-position:center;background-repeat:no-repeat;background-image: " +
        UrlOf(PictureFolder, "mouse" + QString::number(index) + ".png") + ";}");
}

// The group boxes' and scroll areas' fixed sheets are in the form, set before the widgets are
// polished. The form has already polished every scroll area's contents (a scroll area shows its
// widget), and the sheet of a page above them reaches them only through the restyle that setting
// their own sheet starts: so the contents' sheets stay here, after the pages' sheets. So does the
// first-level list's scroll area, whose restyle lays its scroll bar out as the page shows it.
void Buttoninterface::ApplyStyles() {
    const QString& p = PictureFolder;
    const QString text = OptionColorText("ComboxTextColor");
    const QString select = OptionColorText("ComboxSelectColor");
    const QString back = OptionColorText("ComboxBackGroundColor");
    const QString label = OptionColorText("LabelColor");

    const QString functionSheet = "QToolButton{color: rgb(" + ButtonColorText +
                                  ");border-image: " + UrlOf(p, "CMenuTitle.png") +
                                  ";}QToolButton:checked{color: rgb(" + ButtonColorText +
                                  ");border-image: " + UrlOf(p, "CMenuTitleChecked.png") + ";}";
    for (QWidget* page :
         {ui->page_3, ui->page_4, ui->page_6, ui->page_7, ui->page_8, ui->page_9, ui->page_10})
        page->setStyleSheet(functionSheet);
    for (QWidget* contents :
         {ui->scrollAreaWidgetContents_3, ui->scrollAreaWidgetContents_4, ui->scrollAreaWidgetContents_6,
          ui->scrollAreaWidgetContents_8, ui->scrollAreaWidgetContents_9, ui->scrollAreaWidgetContents_10,
          ui->scrollAreaWidgetContents_12})
        contents->setStyleSheet("background-color:transparent;border:none;");
    ui->scrollAreaWidgetContents_11->setStyleSheet(
        "#scrollAreaWidgetContents_11{background-color:transparent;border:none;}"
        "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;background-image: " +
        UrlOf(p, "AMenuTitle.png") + ";color: rgb(" + ButtonColorText +
        ");}QToolButton:checked{background-image: " + UrlOf(p, "AMenuTitleChecked.png") +
        ";}QToolButton:!checked{background-image: " + UrlOf(p, "AMenuTitle.png") +
        ";}QLabel{background-position:center;background-repeat:no-repeat;background-image: " +
        UrlOf(p, "LabelNumber.png") + ";color: rgb(0,0,0);}");
    ui->scrollArea_11->setFrameShape(QFrame::NoFrame);

    const QString comboSheet = PictureStyles::ComboBoxSheet(p, text, select, back);
    ui->ProjectChoose->setStyleSheet(comboSheet + "QComboBox:disabled{color: rgb(0,0,0);}");
    for (QComboBox* combo :
         {static_cast<QComboBox*>(ui->ProjectChoose), static_cast<QComboBox*>(ui->DebunceRelease),
          static_cast<QComboBox*>(ui->WheelDebunce)}) {
        auto* view = new QListView(combo);
        view->setStyleSheet(PictureStyles::ComboViewSheet(select));
        combo->setView(view);
    }
    for (QComboBox* combo : {ui->DebunceRelease, ui->WheelDebunce}) {
        combo->setStyleSheet(comboSheet);
        combo->setMaxVisibleItems(5);
    }
    for (QLabel* l : {ui->label_3, ui->label_4, ui->label_5, ui->label_6})
        l->setStyleSheet("color: rgb(" + label + ");");
    for (QWidget* box : {ui->KeyDebunce, ui->WheelDebunce_2})
        box->setStyleSheet("QCheckBox{color: rgb(" + label +
                           ");}QCheckBox::indicator{image: " + UrlOf(p, "CheckBox.png") +
                           ";}QCheckBox::indicator:checked{image: " + UrlOf(p, "CheckBoxChecked.png") + ";}");

    for (QToolButton* b : {ui->ImportData, ui->OutputData})
        b->setStyleSheet("QToolButton{border:0px;color: rgb(" + ButtonColorText +
                         ");border-image: " + UrlOf(p, "Reset.png") +
                         ";}QToolButton:hover{border-image: " + UrlOf(p, "ResetHover.png") +
                         ";}QToolButton:pressed{border-image: " + UrlOf(p, "ResetClick.png") + ";}");
    const QString hotspot =
        PictureStyles::ToolButtonSheet(p, "NumberOrigin.png", "NumberHover.png", "NumberClick.png") +
        "QToolButton{color: rgb(0,0,0);}QToolButton:pressed{padding-left:0px;}";
    for (QToolButton* b : ui->widget->findChildren<QToolButton*>()) b->setStyleSheet(hotspot);
    const auto firstLevel = [&p](const QString& normal, const QString& checked, int rightPadding) {
        return "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;background-"
               "image: " +
               UrlOf(p, normal) + ";color: rgb(255,255,255);padding-left:" + QString::number(kChooserMargin) +
               "px;padding-right:" + QString::number(rightPadding) +
               "px;}QToolButton:checked{background-image: " + UrlOf(p, checked) +
               ";color: rgb(255,255,255);}";
    };
    const QList<QToolButton*> arrows = ArrowEntries();
    for (QAbstractButton* entry : FirstLevelGroup->buttons()) {
        auto* b = static_cast<QToolButton*>(entry);
        if (arrows.contains(b))
            b->setStyleSheet(firstLevel("BMenuTitleB.png", "BMenuTitleCheckedB.png", kChooserArrowRoom));
        else
            b->setStyleSheet(firstLevel("BMenuTitle.png", "BMenuTitleChecked.png", kChooserMargin));
    }
    ui->label->setStyleSheet(
        "#label{border:0px;background-position:center;background-repeat:no-repeat;"
        "background-image: " +
        UrlOf(p, "Config.png") + ";color: rgb(255, 255, 255);}");
    ui->groupBox->setStyleSheet("#groupBox{border: 0;background-image: " + UrlOf(p, "TiltleBack.png") + ";}");
    ui->scrollArea_4->setStyleSheet("#scrollArea_4{border: 0;}");
}

QList<QToolButton*> Buttoninterface::ArrowEntries() const {
    return {ui->DPI_4, ui->DPI_7, ui->DPI_9, ui->DPI_10, ui->DPI_11, ui->DPI_12, ui->DPI_13};
}

void Buttoninterface::FitChooserTexts(const QFont& font) {
    const QList<QToolButton*> arrows = ArrowEntries();
    for (QAbstractButton* entry : FirstLevelGroup->buttons()) {
        const int room =
            entry->width() - kChooserMargin -
            (arrows.contains(static_cast<QToolButton*>(entry)) ? kChooserArrowRoom : kChooserMargin);
        QFont fitted = font;
        while (fitted.pointSizeF() > kChooserSmallestPoints &&
               QFontMetrics(fitted).horizontalAdvance(entry->text()) > room)
            fitted.setPointSizeF(qMax(kChooserSmallestPoints, fitted.pointSizeF() - 0.5));
        entry->setFont(fitted);
    }
}

QString Buttoninterface::DriveGroup() {
    return "Drive" + QString::number(CurrentDeviceCopy().DriveIndex + 1);
}

// --- texts ---

void Buttoninterface::SetLanguageText(QWidget* widget, const QString& text) {
    const QString shown = text.isEmpty() ? FormTexts.value(widget) : text;
    if (auto* button = qobject_cast<QToolButton*>(widget))
        button->setText(shown);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(shown);
}

void Buttoninterface::SetDebounceItemTexts() {
    for (int i = 0; i < kPressDebounceItems; ++i) {
        ui->DebunceButton->SetItemText(i, "ms");
        ui->DebunceRelease->setItemText(i, QString::number(i) + "ms");
    }
    for (int k = 0; k < kWheelDebounceItems; ++k)
        ui->WheelDebunce->setItemText(k, QString::number(10 * (k + 1)) + "ms");
}

void Buttoninterface::SlotAllLanguage(int index) {
    QFont font = ChooserFont();
    if (LanguageAppliedOnce == 1) font.setPointSizeF(font.pointSizeF() * ScreenMetrics::FontScaleFactor());
    LanguageAppliedOnce = 1;

    ui->ImportData->setToolTip(QString());
    ui->OutputData->setToolTip(QString());
    SetLanguageText(ui->ImportData, LanguageText(MouseKeyTexts, index, "Import"));
    SetLanguageText(ui->OutputData, LanguageText(MouseKeyTexts, index, "Export"));

    struct OptionLabel {
        QWidget* Widget;
        const char* Value;
        int Position;
    };
    const OptionLabel labels[] = {
        {ui->FireKey, "0x0100", 3},
        {ui->LeftKey_3, "0x0100", 3},
        {ui->RightKey, "0x0200", 3},
        {ui->RightKey_3, "0x0200", 3},
        {ui->BackKey, "0x0400", 0},
        {ui->MidKey, "0x0400", 0},
        {ui->StartPause, "0x1000", 0},
        {ui->ForWardKey, "0x1000", 0},
        {ui->TopMusic, "0x0800", 0},
        {ui->BackKey_2, "0x0800", 0},
        {ui->BackMusic, "0x0100", 0},
        {ui->Button9, "0x0100", 0},
        {ui->Button10, "0x0100", 0},
        {ui->Button11, "0x0100", 0},
        {ui->Button12, "0x0100", 0},
        {ui->Button13, "0x0100", 0},
        {ui->Button14, "0x0100", 0},
        {ui->Button15, "0x0100", 0},
        {ui->Button16, "0x0100", 0},
        {ui->VolumeUp_8, "0x0100", 0},
        {ui->DPI_2, "7", 0},
        {ui->DPI_6, "4", 0},
        {ui->DPI_8, "5", 0},
        {ui->DPI_5, "0", 0},
        {ui->DPI_13, "B", 0},
        {ui->DPI_11, "3", 0},
        {ui->DPI_10, "6", 0},
        {ui->DPI_7, "2", 0},
        {ui->DPI_12, "1005", 0},
        {ui->Player, "0x0183", 0},
        {ui->StartPause_2, "0x00CD", 0},
        {ui->BackMusic_2, "0x00B5", 0},
        {ui->TopMusic_2, "0x00B6", 0},
        {ui->Mute, "0x00B7", 0},
        {ui->VolumeUp, "0x00E2", 0},
        {ui->VolumeDown, "0x00E9", 0},
        {ui->VolumeDown_4, "0x00EA", 0},
        {ui->VolumeDown_5, "0x018A", 0},
        {ui->VolumeDown_6, "0x0192", 0},
        {ui->VolumeDown_3, "0x0194", 0},
        {ui->VolumeDown_8, "0x0223", 0},
        {ui->VolumeDown_9, "0x0221", 0},
        {ui->VolumeDown_7, "0x0225", 0},
        {ui->VolumeDown_10, "0x0224", 0},
        {ui->VolumeDown_12, "0x0226", 0},
        {ui->VolumeDown_13, "0x0227", 0},
        {ui->VolumeDown_11, "0x022A", 0},
        {ui->VolumeUp_2, "0x0100", 2},
        {ui->VolumeDown_2, "0x0200", 2},
        {ui->VolumeUp_14, "0x0100", 1},
        {ui->VolumeDown_14, "0x0200", 1},
    };
    for (const OptionLabel& l : labels) SetLanguageText(l.Widget, KeyOptionLabel(index, l.Value, l.Position));
    FitChooserTexts(font);
    ui->Button7->setText("DPI+");
    ui->Button8->setText("DPI-");

    SetLanguageText(ui->label_3, LanguageText(MouseKeyTexts, index, "KeyDebounceTime"));
    SetLanguageText(ui->label_4, LanguageText(MouseKeyTexts, index, "ButtonDown"));
    SetLanguageText(ui->label_5, LanguageText(MouseKeyTexts, index, "ButtonUp"));
    SetLanguageText(ui->label_6, LanguageText(MouseKeyTexts, index, "RollerDebounceTime"));
    MacroPrefixText = LanguageText(MouseMacroTexts, index, "MacroSeond");
    ConfigLabelText = LanguageText(MouseProfileLabels, index, "0").remove('1');
    SetDebounceItemTexts();

    FlashDataMap cached{};
    if (ReadDeviceInfoFile(DeviceInfoLoadName(), &cached)) {
        // Only an image read from this device stands for it; otherwise its cache does.
        FlashDataMap image = cached;
        if (FlashDataFromDevice) {
            std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
            image = CurrentFlashData;
        }
        bool ok = false;
        const int count = ConfigIni::GetInstance()->GetValue(DriveGroup(), "KeyNumber").toInt(&ok);
        LoadButtonLists(image, ok ? count : 0);
        RelabelRows(image, false);

        MyConmboBox* combo = ui->ProjectChoose;
        const int items = combo->count();
        const int current = combo->currentIndex();
        const QSignalBlocker blocker(combo);
        combo->clear();
        for (int i = 1; i <= items; ++i) combo->addItem(ConfigLabelText + QString::number(i));
        combo->setCurrentIndex(current);
    }
    PostMsg::GetInstance()->EmitSigAddConfig(ui->ProjectChoose->currentText());
}

void Buttoninterface::SlotMouseIndex(int index) {
    SetMousePicture(index);
}

// --- refresh from a settings image ---

void Buttoninterface::LoadButtonLists(const FlashDataMap& image, int count) {
    const int n = qBound(0, count, int(kDeviceButtonCount));
    ButtonTypeList.clear();
    ButtonParam1List.clear();
    ButtonParam2List.clear();
    for (int i = 0; i < n; ++i) {
        ButtonTypeList.append(image.ButtonKeys[i].Type);
        ButtonParam1List.append(image.ButtonKeys[i].Param1);
        ButtonParam2List.append(image.ButtonKeys[i].Param2);
    }
}

void Buttoninterface::ShowReleaseDebounce(int ms) {
    const bool hasItem = ms >= 0 && ms < kPressDebounceItems;
    if (hasItem) ReleaseDebounceIndex = ms;
    const QSignalBlocker blocker(ui->DebunceRelease);
    ui->DebunceRelease->setCurrentIndex(hasItem ? ms : -1);
}

void Buttoninterface::ShowWheelDebounce(int ms) {
    const bool hasItem = ms >= 10 && ms <= 10 * kWheelDebounceItems && ms % 10 == 0;
    if (hasItem) WheelDebounceIndex = ms / 10 - 1;
    const QSignalBlocker blocker(ui->WheelDebunce);
    ui->WheelDebunce->setCurrentIndex(hasItem ? ms / 10 - 1 : -1);
}

void Buttoninterface::Refresh(const FlashDataMap& image, bool fromDevice) {
    if (fromDevice) ButtonPageRefreshed = false;
    ButtonPageRefreshing = true;
    PostMsg* hub = PostMsg::GetInstance();
    if (fromDevice) hub->EmitSigLightToFrom(image.SleepTimeCode * 10);
    const ConfigIni* config = ConfigIni::GetInstance();
    const QString group = DriveGroup();
    SensorName = config->GetValue(group, "Sensor");
    if (!fromDevice) hub->EmitSigLightToFrom(image.SleepTimeCode * 10);
    bool ok = false;
    const int count = config->GetValue(group, "KeyNumber").toInt(&ok);
    LoadButtonLists(image, ok ? count : 0);
    // Macro files follow only an image the device holds: a full read of it or an accepted import.
    RelabelRows(image, fromDevice ? bool(FlashDataFromDevice) : ImportInProgress == 1);
    ui->DebunceButton->SetDebounce(image.KeyDebounceMs);
    ShowReleaseDebounce(image.ReleaseDebounceMs);
    ShowWheelDebounce(image.WheelDebounceMs);
    if (fromDevice) ButtonPageRefreshed = true;
    ButtonPageRefreshing = false;
}

void Buttoninterface::SlotUpDataButtonUIButton(FlashDataMap DataMap) {
    Refresh(DataMap, true);
}

void Buttoninterface::SlotUpDataButtonUIB(FlashDataMap DataMap) {
    Refresh(DataMap, false);
}

void Buttoninterface::SlotFormResetButton() {
    ButtonPageRefreshing = true;
    ui->stackedWidget->setCurrentWidget(ui->page);
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    ButtonTypeList.clear();
    ButtonParam1List.clear();
    ButtonParam2List.clear();
    for (int i = 0; i < kDeviceButtonCount; ++i) {
        ButtonTypeList.append(kFactoryTypes[i]);
        ButtonParam1List.append(kFactoryParam1s[i]);
        ButtonParam2List.append(0);
    }
    ui->DebunceButton->SetDebounce(kFactoryPressDebounce);
    ShowReleaseDebounce(kFactoryDebounceItem);
    ShowWheelDebounce((kFactoryDebounceItem + 1) * 10);
    PostMsg::GetInstance()->EmitSigLightToFrom(kFactorySleepSeconds);
    ButtonPageRefreshing = false;
}

// --- configuration switch ---

void Buttoninterface::SlotUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable) {
    MyConmboBox* combo = ui->ProjectChoose;
    combo->clear();
    {
        const QSignalBlocker blocker(combo);
        const int items = ToTalItem > 0 ? ToTalItem : (ToTalItem == 0 ? 1 : 0);
        for (int i = 1; i <= items; ++i) combo->addItem(ConfigLabelText + QString::number(i));
    }
    combo->setEnabled(ItemEnable);
    if (ToTalItem > 0) combo->setCurrentIndex(SelectIndex < ToTalItem ? SelectIndex : -1);
    PostMsg::GetInstance()->EmitSigAddConfig(combo->currentText());
}

void Buttoninterface::on_ProjectChoose_activated(int index) {
    const bool online = UsbFinderC_GetDeviceOnLine(CurrentDevicePathCopy().constData());
    if ((online || ButtonPageRefreshing) && UsbServer_SetCurrentConfig(static_cast<unsigned char>(index))) {
        PostMsg::GetInstance()->EmitSigAddConfig(ui->ProjectChoose->currentText());
        return;
    }
    ui->ProjectChoose->setCurrentIndex(ui->ProjectChoose->PressIndex);
    // A mouse that answers but refused the switch did not take the change; it is not offline.
    PostMsg::GetInstance()->EmitSigMouseOffLineo(online ? NoticeNotTaken : NoticeOffline);
}

void Buttoninterface::on_stackedWidget_currentChanged(int index) {
    if (index != 0)
        ui->stackedWidget->raise();
    else
        ui->scrollArea_11->raise();
}

// --- profile file ---

bool Buttoninterface::WriteProfileFile(const QString& path, FlashDataMap image) {
    return ProfileFile::Write(path, ConfigIni::GetInstance()->GetValue(DriveGroup(), "Sensor"), image);
}

void Buttoninterface::on_OutputData_clicked() {
    // Only settings read from this device may go into a file under its sensor's name.
    if (!FlashDataFromDevice) {
        PostMsg::GetInstance()->EmitSigMouseOffLineo(0);
        return;
    }
    const QString path = FileChooser::GetSaveFileName(this, "FileSave", QDir::homePath(), "File(*.bin)");
    if (path.isEmpty()) return;
    FlashDataMap image;
    {
        std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
        image = CurrentFlashData;
    }
    if (!FlashDataFromDevice) return;
    // Written whole or not at all: an old file of that name stays as it was.
    if (!WriteProfileFile(path, image)) {
        qCDebug(VzDebug) << "export failed" << path;
        WriteFail notice(WriteFail::Action::ProfileExport);
        ModalRunner::RunOver(notice, this, kNoticeDx, kNoticeDy);
    }
}

void Buttoninterface::on_ImportData_clicked() {
    if (!UsbFinderC_GetDeviceOnLine(CurrentDevicePathCopy().constData())) {
        PostMsg::GetInstance()->EmitSigMouseOffLineo(0);
        return;
    }
    DpiSendSuppressed = true;
    QString path = FileChooser::GetOpenFileName(this, "SelectFile", QDir::homePath(), "File(*.bin)");
    // The device may have gone while the file was chosen (over the home page the notice stays shut).
    if (!path.isEmpty() && !UsbFinderC_GetDeviceOnLine(CurrentDevicePathCopy().constData())) {
        PostMsg::GetInstance()->EmitSigMouseOffLineo(0);
        path.clear();
    }
    if (!path.isEmpty()) {
        ImportInProgress = 1;
        {
            UpDataParam dialog;
            dialog.StartTimer();
            dialog.ImportMode = true;
            dialog.ProfilePath = path;
            ModalRunner::RunOver(dialog, this, kImportDx, kImportDy);
        }
        ImportInProgress = 0;
    }
    DpiSendSuppressed = false;
}

// --- macro list ---

void Buttoninterface::InitMacroList() {
    MacroListLayout = new QVBoxLayout;
    MacroListLayout->setSizeConstraint(QLayout::SetFixedSize);
    MacroListPanel = new QWidget(this);
    MacroListPanel->setMinimumSize(205, 220);
    MacroListPanel->setMaximumSize(205, 220);
    MacroListPanel->setStyleSheet("background-color:transparent;border:none;");
    MacroListPanel->setLayout(MacroListLayout);
    ui->scrollArea_7->setWidget(MacroListPanel);
    FillMacroList(ChooserFont());
}

void Buttoninterface::SlotAddMacroButton() {
    // The list may be rebuilt inside one of its buttons' clicks: the old buttons go later.
    for (QToolButton* button : MacroButtonList) {
        MacroListLayout->removeWidget(button);
        SecondLevelGroup->removeButton(button);
        button->disconnect(this);
        button->hide();
        button->deleteLater();
    }
    MacroButtonList.clear();
    QFont font = ChooserFont();
    font.setPointSizeF(font.pointSizeF() * ScreenMetrics::FontScaleFactor());
    FillMacroList(font);
}

void Buttoninterface::FillMacroList(const QFont& font) {
    const QString sheet = "QToolButton{color: rgb(" + ButtonColorText +
                          ";);border-image: " + UrlOf(PictureFolder, "CMenuTitle.png") +
                          ";}QToolButton:hover{background-image: none;}QToolButton:checked{border-image: " +
                          UrlOf(PictureFolder, "CMenuTitleChecked.png") + ";}";
    const auto makeButton = [this, &sheet, &font](const QString& text, int height) {
        auto* button = new QToolButton(MacroListPanel);
        button->setText(text);
        button->setStyleSheet(sheet);
        button->setFont(font);
        button->setMinimumSize(174, height);
        button->setCheckable(true);
        MacroListLayout->addWidget(button);
        MacroButtonList.append(button);
        return button;
    };
    const QStringList names = MacroFiles::MacroNamesIn(MacroFolder());
    for (const QString& name : names) {
        QToolButton* button = makeButton(name, 22);
        SecondLevelGroup->addButton(button);
        connect(button, SIGNAL(clicked(bool)), this, SLOT(slotButtonClicked(bool)));
    }
    if (names.isEmpty()) return;
    for (int i = names.size(); i < kMacroListRows; ++i) {
        QToolButton* filler = makeButton(QString(), 23);
        filler->setEnabled(false);
        filler->hide();
    }
}

// --- debounce combos ---

void Buttoninterface::on_DebunceRelease_currentIndexChanged(int index) {
    if (index < 0) return;
    if (UiLive && SetReleaseDebounce(index)) {
        ReleaseDebounceIndex = index;
        return;
    }
    const QSignalBlocker blocker(ui->DebunceRelease);
    ui->DebunceRelease->setCurrentIndex(ReleaseDebounceIndex);
}

void Buttoninterface::on_WheelDebunce_currentIndexChanged(int index) {
    if (index < 0) return;
    if (UiLive && SetWheelDebounce((index + 1) * 10)) {
        WheelDebounceIndex = index;
        return;
    }
    const QSignalBlocker blocker(ui->WheelDebunce);
    ui->WheelDebunce->setCurrentIndex(WheelDebounceIndex);
}

// --- clicks and events ---

void Buttoninterface::CloseChooser() {
    ui->stackedWidget->setCurrentWidget(ui->page);
    SetStyleSheetIfChanged(ui->scrollArea_11->verticalScrollBar(), kScrollBarIdle);
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
}

void Buttoninterface::UncheckGroup(QButtonGroup* group) {
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) button->setChecked(false);
    group->setExclusive(true);
}

void Buttoninterface::UncheckRows() {
    UncheckGroup(RowGroup);
}

bool Buttoninterface::event(QEvent* event) {
    if (event->type() == QEvent::HideToParent) {
        UncheckRows();
        CloseChooser();
    }
    return QWidget::event(event);
}

void Buttoninterface::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->pos();
    const QRect buttonArea = PageRect(this, ui->groupBox);
    const QRect rowList = PageRect(this, ui->scrollArea_11);
    const QRect chooser = PageRect(this, ui->stackedWidget);
    const QRect panel = PageRect(this, ui->stackedWidget_2);
    const auto chooserIdle = [this] { return ui->stackedWidget->currentWidget() == ui->page; };
    const auto panelIdle = [this] { return ui->stackedWidget_2->currentWidget() == ui->page_9; };

    if (!chooserIdle() && !panelIdle()) {
        if (!buttonArea.contains(at)) CloseChooser();
    } else if (!chooserIdle() && panelIdle()) {
        if (!rowList.contains(at) && !chooser.contains(at)) CloseChooser();
    }

    bool release = false;
    if (chooserIdle() && panelIdle())
        release = !rowList.contains(at) || chooser.contains(at);
    else if (!chooserIdle() && panelIdle())
        release = !buttonArea.contains(at);
    else if (!chooserIdle() && !panelIdle())
        release = !rowList.contains(at) && !chooser.contains(at) && !panel.contains(at);
    if (release || PageRect(this, ui->widget).contains(at)) {
        UncheckRows();
        CloseChooser();
    }
}
