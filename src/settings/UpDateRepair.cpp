#include "settings/UpDateRepair.h"

#include <QCloseEvent>
#include <QTimer>

#include "core/ConfigIni.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "firmware/BootDevices.h"
#include "firmware/FirmwareImages.h"
#include "firmware/RepairRun.h"
#include "firmware/UpgradeState.h"
#include "platform/Paths.h"
#include "platform/ScreenMetrics.h"
#include "ui_UpDateRepair.h"
#include "widgets/ColorText.h"
#include "widgets/ScaleChildFonts.h"

UpDateRepair* RepairDialog = nullptr;

UpDateRepair::UpDateRepair(QWidget* parent) : QDialog(parent), ui(new Ui_UpDateRepair) {
    ui->setupUi(this);
    ui->NewHong->hide();
    ui->progressBar_2->hide();
    ui->NewHong_2->hide();
    ui->ToolText_2->hide();
    PictureDir = Paths::InstallDir() + "/Picture/WarningDialog/";
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);

    const QString& dir = PictureDir;
    ui->ToolText->setStyleSheet("#ToolText{color: rgb(" + OptionColorText("LabelColor") +
                                ";);background-color:rgba(0,0,0,0);}");
    ui->ToolText_2->setStyleSheet("#ToolText_2{color: rgb(255,0,0);background-color:rgba(0,0,0,0);}");
    const QString button =
        "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(" +
        OptionColorText("ButtonColor") + ";);border-image: url(" + dir + "ok_nr.png" +
        ");}QToolButton:hover{border-image: url(" + dir + "ok_enter.png" + "); }";
    ui->NewHong->setStyleSheet(button);
    ui->NewHong_2->setStyleSheet(button);
    ui->CloseButton->setStyleSheet("QToolButton{border:0px;background-image: url(" + dir + "Close.png" +
                                   ");background-position:center;background-repeat:no-repeat;}"
                                   "QToolButton:hover{background-image: url(" +
                                   dir + "CloseHover.png" + ");}QToolButton:pressed{background-image: url(" +
                                   dir + "CloseClick.png" + ");}");
    ui->AutoRepair->setStyleSheet(
        "#AutoRepair{border:0px;background-position:center;background-repeat:no-repeat;border-image: url(" +
        dir + "BackGround.png" + ");}");

    Watchdog = new QTimer(this);
    Watchdog->setInterval(1000);
    connect(Watchdog, &QTimer::timeout, this, &UpDateRepair::SlotRepairWatchdog);

    PostMsg::Connect(SIGNAL(SigAutoRepair(int)), this, SLOT(SlotAutoRepair(int)));
    PostMsg::Connect(SIGNAL(SigAutoRepairProgress(int)), this, SLOT(SlotAutoRepairProgress(int)));
    PostMsg::Connect(SIGNAL(SigProgress(int, int)), this, SLOT(SlotProgress(int, int)));
    PostMsg::Connect(SIGNAL(SigRepairCheckUpdate()), this, SLOT(SlotRepairCheckUpdate()));
    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    SlotAllLanguage(CurrentLanguage);
    ScaleChildFonts(this, ScreenMetrics::FontScaleFactor(), QString());
}

UpDateRepair::~UpDateRepair() {
    delete ui;
}

void UpDateRepair::SlotAllLanguage(int index) {
    const auto home = [index](const char* key) { return LanguageText(MouseHomeTexts, index, key); };
    const auto update = [index](const char* key) { return LanguageText(MouseUpdateTexts, index, key); };
    WarnText = home("WarnUpdate");
    ui->ToolText->setText(WarnText);
    StartText = update("DialogUpgradeStart");
    NotDeviceText = home("NotDevice");
    SameDeviceText = home("SameDevice");
    FailText = update("DialogUpgradeFail");
    SuccessText = update("DialogUpgradeSuccess");
    CancelText = LanguageText(MouseCommonTexts, index, "Cancel");
    OkText = LanguageText(MouseCommonTexts, index, "OK");
    NoReceiverText = home("NoRecieve");
    NoUsbText = home("NoUSB");
    ErrorFileText = home("ErrorFile");
    MultiDongleText = home("MultiDongle");
    MultiMouseText = home("MultiMouse");
    ReadyText = home("ReadyUpdate");
}

void UpDateRepair::SetShortcuts() {
    ui->NewHong_2->setShortcut(QKeySequence(Qt::Key_Return));
    ui->NewHong->setShortcut(QKeySequence(Qt::Key_Escape));
}

void UpDateRepair::ResetState() {
    RunStarted = false;
    OutcomeShown = false;
    RepairRunning = false;
    ui->ToolText_2->setText(QString());
    ui->ToolText_2->show();
    ui->NewHong_2->setText(StartText);
    ui->NewHong_2->show();
    ui->NewHong->setText(CancelText);
    ui->NewHong->show();
    ui->CloseButton->show();
    ui->progressBar_2->setValue(0);
    ui->progressBar_2->hide();
    SetShortcuts();
}

void UpDateRepair::ShowChoice(const QString& confirmText) {
    ui->ToolText_2->show();
    ui->NewHong_2->setText(confirmText);
    ui->NewHong_2->show();
    ui->NewHong->show();
    ui->NewHong->setEnabled(true);
    ui->CloseButton->show();
    ui->CloseButton->setEnabled(true);
    ui->progressBar_2->hide();
    SetShortcuts();
}

void UpDateRepair::ShowReadyState() {
    ui->ToolText_2->setText(ReadyText);
    ui->NewHong->setText(CancelText);
    ShowChoice(StartText);
}

void UpDateRepair::ShowIdleState() {
    if (RunStarted) OutcomeShown = true;
    ShowChoice(OkText);
}

void UpDateRepair::ShowUpgradingState() {
    RunStarted = true;
    OutcomeShown = false;
    ui->ToolText_2->setText(WarnText);
    ui->ToolText_2->show();
    ui->NewHong_2->hide();
    ui->NewHong->hide();
    ui->NewHong->setEnabled(false);
    ui->CloseButton->show();
    ui->CloseButton->setEnabled(false);
    ui->progressBar_2->show();
    SetShortcuts();
}

void UpDateRepair::SetStatusText(const QString& text) {
    ui->ToolText_2->setText(text);
}

void UpDateRepair::SlotAutoRepair(int index) {
    OutcomeShown = true;
    ui->ToolText_2->setText(index == 0 ? SuccessText : FailText);
    ui->NewHong_2->setText(OkText);
    ui->NewHong->show();
    SetShortcuts();
}

void UpDateRepair::SlotAutoRepairProgress(int index) {
    ui->progressBar_2->setValue(index);
}

void UpDateRepair::SlotProgress(int schedue, int Discrib) {
    const auto failure = [this] {
        ui->ToolText_2->setText(FailText);
        ui->ToolText_2->show();
        ui->NewHong->show();
        ui->CloseButton->setEnabled(true);
        ui->NewHong->setEnabled(true);
    };
    switch (Discrib) {
        case 0:
            ui->progressBar_2->setValue(schedue);
            break;
        case 1:
            ui->NewHong_2->setText(OkText);
            ui->NewHong_2->show();
            failure();
            break;
        case 2:
            ui->NewHong_2->setText(OkText);
            ui->ToolText_2->setText(SuccessText);
            ui->ToolText_2->show();
            ui->progressBar_2->setValue(100);
            ui->NewHong->show();
            ui->NewHong_2->show();
            ui->CloseButton->setEnabled(true);
            ui->NewHong->setEnabled(true);
            break;
        case 3:
            ui->NewHong->hide();
            break;
        case 4:
            ui->NewHong->hide();
            ui->progressBar_2->setValue(0);
            break;
        case 5:
            ui->NewHong_2->setText(OkText);
            ui->NewHong_2->show();
            failure();
            ui->progressBar_2->setValue(50);
            break;
        case 6:
            failure();
            break;
        default:
            break;
    }
    if (IsOutcomeCode(Discrib)) OutcomeShown = true;
    SetShortcuts();
}

void UpDateRepair::SlotRepairCheckUpdate() {
    // A run's outcome stays until the user closes the dialog.
    if (HoldsRun()) return;
    if (CheckRepairPossible()) ShowReadyState();
}

bool UpDateRepair::ClosingRefused() const {
    return RepairUpgradeBusy || Flashing();
}

void UpDateRepair::CloseAfterRun() {
    if (ui->progressBar_2->isVisible()) {
        if (ui->progressBar_2->value() == 100)
            PostMsg::GetInstance()->EmitSigSetNewVer();
        else if (DeviceWindow.Shown())
            PostMsg::GetInstance()->EmitSigChangeMainDialog(0);
    }
    RunStarted = false;
    OutcomeShown = false;
    RepairRunning = false;
    Watchdog->stop();
    hide();
}

void UpDateRepair::on_CloseButton_clicked() {
    if (!ClosingRefused()) CloseAfterRun();
}

void UpDateRepair::on_NewHong_clicked() {
    if (!ClosingRefused()) CloseAfterRun();
}

void UpDateRepair::on_NewHong_2_clicked() {
    if (ClosingRefused()) return;
    if (ui->progressBar_2->isVisible()) {
        CloseAfterRun();
        return;
    }
    if (ui->NewHong_2->text() == OkText) {
        CloseAfterRun();
        return;
    }
    if (DeviceWindow.Shown())
        PostMsg::GetInstance()->EmitSigUpdateStart();
    else
        StartRepairUpgrade();
}

void UpDateRepair::reject() {
    if (!ClosingRefused()) CloseAfterRun();
}

void UpDateRepair::closeEvent(QCloseEvent* event) {
    if (ClosingRefused()) {
        event->ignore();
        return;
    }
    CloseAfterRun();
    event->accept();
}

void UpDateRepair::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    activateWindow();
}

// ---- Repair ----

bool UpDateRepair::Report(const QString& text) {
    SetStatusText(text);
    ShowIdleState();
    return false;
}

bool UpDateRepair::CheckRepairPossible() {
    FirmwareFound = false;
    RepairStage = 0;
    switch (PlanRepair(FoundDevices, &Plan)) {
        case RepairReadiness::Ready:
            FailedType = Plan.ReceiverImage ? kReceiverFirmware : kMouseFirmware;
            DriveSection = Plan.Section;
            ReceiverModel = Plan.ReceiverClass ? ConfigIni::GetInstance()->GetValue(
                                                     Plan.Section, ReceiverModelKey(Plan.ReceiverClass))
                                               : QString();
            RepairMode = Plan.Mode();
            FirmwareFound = true;
            return true;
        case RepairReadiness::SeveralWaiting:
            Report(SameDeviceText);
            ui->NewHong->show();
            return false;
        case RepairReadiness::NothingWaits:
            break;
    }
    // Nothing waits in boot mode: the record tells what to connect so that its device can be reached.
    const QList<FailRecordEntry> records = UpgradeFailRecordEntries();
    if (records.isEmpty()) {
        // Nothing the repair could start: no Upgrade that does nothing, and the home page drops its entry.
        if (!UpgradeFailRecord().isEmpty()) RemoveUpgradeFailRecord();
        PostMsg::GetInstance()->EmitSigUpDateButton(true);
        return Report(NotDeviceText);
    }
    const FailRecordEntry& failed = records.first();
    FailedType = failed.Type;
    DriveSection = SectionOfMid(failed.Mid);
    if (!RepairImageOf(InstalledImages(), failed.Type, failed.ReceiverClass, DriveSection))
        return Report(ErrorFileText);
    if (failed.Type == kReceiverFirmware) return Report(NoReceiverText);
    // A mouse in boot mode is reached through its working receiver or on its cable.
    for (const DeviceAllInfo& device : FoundDevices)
        if (!device.IsUsb && MidOf(device) == failed.Mid) return Report(NoUsbText);
    return Report(NoReceiverText);
}

void UpDateRepair::EndRepairUnstarted(const QString& reason) {
    SetStatusText(reason);
    EndRepairFailed(false);
}

void UpDateRepair::StartRepairUpgrade() {
    if (!FirmwareFound) return;
    RepairRunning = true;
    ShowUpgradingState();
    UpdateIdle = false;
    // What waits now decides, not what waited when the dialog was opened.
    const RepairReadiness ready = PlanRepair(FoundDevices, &Plan);
    if (ready != RepairReadiness::Ready) {
        FirmwareFound = false;
        EndRepairUnstarted(ready == RepairReadiness::SeveralWaiting ? SameDeviceText : NotDeviceText);
        return;
    }
    RunRepair([this] { return StartRepairRun(Plan); });
}

void UpDateRepair::RunRepair(const std::function<bool()>& start) {
    Watchdog->start();
    if (!start()) {
        FirmwareFound = false;
        Watchdog->stop();
        EndRepairFailed(false);
    }
}

void UpDateRepair::StartRepairUpgradeDirect(int argument, int receiverClass, int cid, int mid) {
    DirectStart = true;
    DirectArgument = argument;
    RepairRunning = true;
    ShowUpgradingState();
    UpdateIdle = false;
    FirmwareFound = RepairFirmwareImage() != nullptr;
    if (!FirmwareFound) {
        EndRepairUnstarted(ErrorFileText);
        return;
    }
    RunRepair([=] { return StartRepairReceiverOnly(receiverClass, cid, mid); });
}

void UpDateRepair::SlotRepairWatchdog() {
    if (!RepairStageOpen()) {
        Watchdog->stop();
        return;
    }
    if (FailStalledRepairStage()) Watchdog->stop();
}
