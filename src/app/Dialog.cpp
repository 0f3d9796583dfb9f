#include "app/Dialog.h"

#include <QButtonGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QToolButton>

#include "buttons/Buttoninterface.h"
#include "core/CurrentFlashData.h"
#include "core/PictureStyles.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "device/DeviceInfoFile.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/UpDataParam.h"
#include "hidusb/HIDUsb.h"
#include "home/PreVier.h"
#include "lighting/LampLight.h"
#include "macro/Macro.h"
#include "platform/Clock.h"
#include "platform/DebugLog.h"
#include "platform/Paths.h"
#include "sensor/Advanced.h"
#include "sensor/Sensor.h"
#include "settings/FormSetting.h"
#include "ui_Dialog.h"
#include "widgets/ColorText.h"
#include "widgets/StyleSheet.h"

namespace {
// The device pages: stack index, how each is made and the navigation button that shows it, in the
// order they are made (the order they connect to the hub).
struct DevicePage {
    Dialog::PageIndex Index;
    QWidget* (*Make)(QWidget* parent);
    QToolButton* Ui::Dialog::*NavButton;
};

const DevicePage kDevicePages[] = {
    {Dialog::SummaryIndex, [](QWidget* p) -> QWidget* { return new PreVier(p); }, &Ui::Dialog::PreButton},
    {Dialog::AdvancedIndex,
     [](QWidget* p) -> QWidget* {
         auto* page = new Advanced(p);
         page->setObjectName("AdvancedPage");
         return page;
     },
     &Ui::Dialog::Advanced},
    {Dialog::ButtonsIndex, [](QWidget* p) -> QWidget* { return new Buttoninterface(p); },
     &Ui::Dialog::ButtonMain},
    {Dialog::LightsIndex, [](QWidget* p) -> QWidget* { return new LampLight(p); }, &Ui::Dialog::LightsButton},
    {Dialog::MacroIndex, [](QWidget* p) -> QWidget* { return new Macro(p); }, &Ui::Dialog::MacroButton},
    {Dialog::SensorIndex, [](QWidget* p) -> QWidget* { return new Sensor(p); }, &Ui::Dialog::SensorButton},
    {Dialog::SettingsIndex, [](QWidget* p) -> QWidget* { return new FormSetting(p); },
     &Ui::Dialog::FormSetting},
};
static_assert(sizeof kDevicePages / sizeof kDevicePages[0] == Dialog::PageCount, "one entry per page");
}  // namespace

Dialog::Dialog(QWidget* parent, const std::function<void()>& beforePage)
    : QWidget(parent), ui(new Ui::Dialog) {
    ui->setupUi(this);
    PictureFolder = Paths::InstallDir() + "/Picture/Dialog/";
    // The background of the summary page (the first one added) and of the other pages, set before the
    // pages exist so that it styles them once; a page change switches the look of the frame alone.
    SetLook(ui->frame_2, true);
    ui->frame_2->setStyleSheet("#frame_2{border-image: url(" + PictureFolder + "BackGround.png);}" +
                               "#frame_2[look=\"alt\"]{border-image: url(" + PictureFolder +
                               "BackGround2.png);}");

    ButtonGroupA = new QButtonGroup(this);
    ButtonGroupA->setExclusive(true);
    ButtonGroupB = new QButtonGroup(this);
    ButtonGroupB->setExclusive(true);

    // The button page creates the device thread object. Each page is made inside the stack, so adding it
    // does not move (and restyle) its whole tree once more.
    for (const DevicePage& page : kDevicePages) {
        if (beforePage) beforePage();
        Pages[page.Index] = page.Make(ui->stackedWidgetDialog);
        ButtonGroupB->addButton(ui->*page.NavButton);
    }
    for (QWidget* page : Pages) ui->stackedWidgetDialog->addWidget(page);

    UpDataParamDialog = new UpDataParam;

    qCDebug(VzDebug) << "Start";
    const auto nav = [this](const QString& normal, const QString& hover, const QString& checked) {
        return PictureStyles::NavigationButtonSheet(PictureFolder, normal, hover, checked);
    };
    ui->PreButton->setStyleSheet(nav("Pre.png", "PreHover.png", "PreHover.png"));
    ui->ButtonMain->setStyleSheet(nav("Home.png", "HomeHover.png", "HomeChecked.png"));
    ui->SensorButton->setStyleSheet(nav("Sensor.png", "SensorHover.png", "SensorChecked.png"));
    ui->MacroButton->setStyleSheet(nav("Macro.png", "MacroHover.png", "MacroChecked.png"));
    ui->LightsButton->setStyleSheet(nav("Light.png", "LightHover.png", "LightChecked.png"));
    ui->Advanced->setStyleSheet(nav("Advance.png", "AdvanceHover.png", "AdvanceHover.png"));
    ui->FormSetting->setStyleSheet(nav("Setting.png", "SettingHover.png", "SettingClick.png"));
    ui->SetButton->setStyleSheet(ButtonSheet("Setting.png", "SettingHover.png", "SettingClick.png"));
    ui->MinButton->setStyleSheet(ButtonSheet("Min.png", "MinHover.png", "MinClick.png"));
    ui->CloseButton->setStyleSheet(ButtonSheet("Close.png", "CloseHover.png", "CloseClick.png"));
    ui->UpArrow->setStyleSheet(ButtonSheet("PageChange.png", "PageChangeHover.png", "PageChangeClick.png"));
    ui->BatteryButtonC->setStyleSheet(
        "#BatteryButtonC{border:0px;background-image: url(" + PictureFolder +
        "Battery.png);background-position:center;background-repeat:no-repeat;}");
    ui->label->setStyleSheet("#label{border-image: url(" + PictureFolder + "Charg.png);}");
    ui->label_2->setStyleSheet("#label_2{color: rgb(" + OptionColorText("LabelColor") + ";);}");
    // The top-level window paints frames named "frame"; the top bar shows the background picture.
    ui->frame->setStyleSheet("#frame{background:transparent;}");
    ui->label->hide();
    ui->SetButton->hide();
    NoBatterySheet = ui->progressBar->styleSheet();

    connect(ui->MinButton, SIGNAL(clicked()), this, SLOT(WindowMin()));
    // Opening a page is the user's go for a new settings wait after a time-out.
    connect(ButtonGroupB, QOverload<QAbstractButton*>::of(&QButtonGroup::buttonClicked), this, [] {
        if (!SettingsWaitTimedOut.exchange(false)) return;
        LastOnline = false;
        ReconnectRequested = true;
    });

    ui->PreButton->setChecked(true);
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    setFixedSize(width(), height());

    ui->stackedWidgetDialog->setCurrentIndex(SummaryIndex);

    PostMsg::Connect(SIGNAL(SigSecondPageChange()), this, SLOT(SlotSecondDialog()));
    PostMsg::Connect(SIGNAL(SigIsUsb(bool, bool)), this, SLOT(SlotIsUsb(bool, bool)));
    PostMsg::Connect(SIGNAL(SigUpDataParam(int)), this, SLOT(SlotUpDataParam(int)));
    PostMsg::Connect(SIGNAL(SigStartRecord(int)), this, SLOT(SlotStartRecord(int)));
    PostMsg::Connect(SIGNAL(SigMouseIndex(int)), this, SLOT(SlotMouseIndex(int)));
    PostMsg::Connect(SIGNAL(SigBattery(bool, int, bool)), this, SLOT(SlotBattery(bool, int, bool)));
    PostMsg::Connect(SIGNAL(SigSelectMouseInfo(DeviceAllInfo)), this, SLOT(SlotDeviceChosen()));
    ui->label_3->hide();
}

Dialog::~Dialog() {
    for (QWidget* page : Pages) delete page;
    delete ui;
}

PreVier* Dialog::SummaryPage() const {
    return static_cast<PreVier*>(Pages[SummaryIndex]);
}

QString Dialog::ButtonSheet(const QString& normal, const QString& hover, const QString& pressed) const {
    return PictureStyles::ToolButtonSheet(PictureFolder, normal, hover, pressed);
}

void Dialog::on_PreButton_clicked() {
    ui->stackedWidgetDialog->setCurrentIndex(SummaryIndex);
}

void Dialog::on_ButtonMain_clicked() {
    ui->stackedWidgetDialog->setCurrentIndex(ButtonsIndex);
    PostMsg::GetInstance()->EmitSigAddMacroButton();
}

void Dialog::on_SensorButton_clicked() {
    ui->stackedWidgetDialog->setCurrentIndex(SensorIndex);
}

void Dialog::on_MacroButton_clicked() {
    ui->stackedWidgetDialog->setCurrentIndex(MacroIndex);
}

void Dialog::on_LightsButton_clicked() {
    ui->stackedWidgetDialog->setCurrentIndex(LightsIndex);
}

void Dialog::on_Advanced_clicked() {
    PostMsg::GetInstance()->EmitSigtVis(0);
    ui->stackedWidgetDialog->setCurrentIndex(AdvancedIndex);
}

void Dialog::on_FormSetting_clicked() {
    ui->stackedWidgetDialog->setCurrentIndex(SettingsIndex);
}

void Dialog::on_SetButton_clicked() {}

void Dialog::SlotMouseIndex(int) {}

void Dialog::SaveDeviceImage() {
    FlashDataMap image{};
    {
        std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
        image = CurrentFlashData;
    }
    // An image that never came from this device would overwrite its cache with another model's data.
    if (FlashDataFromDevice) WriteDeviceInfoFile(DeviceInfoSaveName(), image);
}

void Dialog::on_UpArrow_clicked() {
    UsbServer_SetPCDriverStatus(0);
    SaveDeviceImage();
    ui->PreButton->setChecked(true);
    DelayMsec(100);
    UsbServer_Exit();
    PostMsg::GetInstance()->EmitSigChangeMainDialog(0);
}

void Dialog::on_CloseButton_clicked() {
    SaveDeviceImage();
    PostMsg::GetInstance()->EmitSigChangeSize(1);
}

void Dialog::WindowMin() {
    PostMsg::GetInstance()->EmitSigChangeSize(0);
}

void Dialog::on_stackedWidgetDialog_currentChanged(int index) {
    SetLook(ui->frame_2, index == SummaryIndex);
    if (index != SummaryIndex) ui->UpArrow->setVisible(true);
}

// The home page is shown, whatever the road (back arrow, device gone, update end): the macro page
// leaves recording, which frees the navigation.
void Dialog::SlotSecondDialog() {
    ui->PreButton->setChecked(true);
    ui->stackedWidgetDialog->setCurrentIndex(SummaryIndex);
    PostMsg::GetInstance()->EmitSigSetMacroPage();
}

void Dialog::SlotBattery(bool IsCharg, int Number, bool IsText) {
    ui->label->setVisible(IsCharg);
    ui->progressBar->setValue(Number);
    ui->label_2->setText(QString::number(Number) + (IsText ? "%" : ""));
    const QString colour = Number <= 15 ? "rgb(152, 43, 34)" : "rgb(0, 255, 153)";
    SetStyleSheetIfChanged(
        ui->progressBar,
        "#progressBar{border: none;background-color: transparent;}#progressBar::chunk {background-color: " +
            colour + ";}");
}

void Dialog::SlotDeviceChosen() {
    ui->label->hide();
    ui->label_2->clear();
    ui->progressBar->setValue(0);
    SetStyleSheetIfChanged(ui->progressBar, NoBatterySheet);
}

void Dialog::SlotIsUsb(bool Usb, bool) {
    SetStyleSheetIfChanged(ui->label_4, "QLabel{border-image: url(" + PictureFolder +
                                            (Usb ? "OnLineUsb.png" : "OnLineWifi.png") + ");}");
}

void Dialog::SlotStartRecord(int index) {
    if (index != 0 && index != 1) return;
    for (QAbstractButton* button : ButtonGroupB->buttons()) button->setEnabled(index == 1);
}

void Dialog::SlotUpDataParam(int index) {
    // Asked for by the device thread just before the device window was left.
    if (!DeviceWindow.Active()) return;
    // A read asked for while the wait runs (the mouse put on its cable) joins that wait: it runs once.
    if (UpDataParamDialog->isVisible()) return;
    UpDataParamDialog->StartTimer();
    qCDebug(VzDebug) << "q";
    if (index == 1) UpDataParamDialog->ForcedMode = true;
    ModalRunner::RunOver(*UpDataParamDialog, this, 0, -20);
    qCDebug(VzDebug) << "w" << "t1";
}

void Dialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12) return;
    QWidget::keyPressEvent(event);
}
