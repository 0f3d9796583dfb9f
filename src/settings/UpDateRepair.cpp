#include "settings/UpDateRepair.h"

#include <QCloseEvent>
#include <QMutex>
#include <QMutexLocker>
#include <QTimer>

#include "core/ConfigIni.h"
#include "core/DeviceProductTable.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "hidusb/HIDUsb.h"
#include "home/DialogChange.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/ScreenMetrics.h"
#include "settings/FirmwareImages.h"
#include "settings/UpgradeState.h"
#include "ui_UpDateRepair.h"
#include "widgets/ColorText.h"
#include "widgets/ScaleChildFonts.h"

namespace {
constexpr int kStatusTimeoutMs = 30000;

// What a running repair reads on the library's thread: fixed when the run starts.
struct RepairRunData {
    QMutex Lock;
    FirmwareImage Image;           // image of the running stage
    QList<DeviceAllInfo> Devices;  // found devices when the run started
    QString MouseModel;
    bool ReceiverOnly = false;  // a direct start flashes the receiver alone
};

RepairRunData& RunData() {
    static RepairRunData data;
    return data;
}

std::atomic<bool> RepairStageActive{false};
std::atomic<qint64> RepairLastStatusMs{0};

int MidOf(const DeviceAllInfo& device) {
    return device.CidMidWord >> 8;
}

// Starts one stage with an image; false when the library refuses.
bool StartStage(const FirmwareImage& image) {
    {
        QMutexLocker lock(&RunData().Lock);
        RunData().Image = image;
    }
    RepairLastStatusMs = Clock::ElapsedMs();
    RepairStageActive = true;
    BeginStageFailRecord(RepairStage == 0 ? kReceiverFirmware : kMouseFirmware, RepairReceiverClass, RepairCid,
                         RepairMid);
    if (UsbUpgrade_Start(reinterpret_cast<const unsigned char*>(image->constData()), RepairUpgradeCallback,
                         10000))
        return true;
    RepairStageActive = false;
    EndStageFailRecord(false);
    return false;
}

// The run ends without a success: failure shown, record as `writeRecord` says.
void RepairFailed(bool writeRecord) {
    PostMsg* hub = PostMsg::GetInstance();
    if (writeRecord)
        WriteUpgradeFailRecord(RepairStage == 0 ? kReceiverFirmware : kMouseFirmware, RepairReceiverClass,
                               RepairCid, RepairMid);
    hub->EmitSigAutoRepair(1);
    hub->EmitSigUpDateButton(UpgradeFailRecord().isEmpty());
    hub->EmitSigProgress(0, 6);
}

void RepairSucceeded() {
    PostMsg* hub = PostMsg::GetInstance();
    hub->EmitSigAutoRepair(0);
    hub->EmitSigUpDateButton(UpgradeFailRecord().isEmpty());
    hub->EmitSigProgress(0, 2);
}

void RunEnded() {
    UpdateIdle = true;
    RepairUpgradeBusy = false;
}
}  // namespace

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
    const QString record = UpgradeFailRecord();
    if (!DialogChange::FailRecordUsable(record)) {
        // Nothing the repair could start: no Upgrade that does nothing, and the home page drops its entry.
        if (!record.isEmpty()) RemoveUpgradeFailRecord();
        PostMsg::GetInstance()->EmitSigUpDateButton(true);
        return Report(NotDeviceText);
    }
    const QStringList FailRecordParts = record.split(',');
    RepairReceiverClass = 0;
    FailedType = FailRecordParts[0].toInt();
    const int recordMid = FailRecordParts[3].toInt();
    const QString classText = FailRecordParts[1];

    if (FoundDevices.isEmpty()) {
        if (FailedType == kMouseFirmware) return Report(NoReceiverText);
        if (FailedType == kReceiverFirmware) return Report(NoUsbText);
        return Report(NotDeviceText);
    }
    if (FoundDevices.size() > 1) {
        int mice = 0, receivers = 0;
        DeviceAllInfo lastMouse, lastReceiver;
        for (const DeviceAllInfo& device : FoundDevices) {
            if (device.IsUsb) {
                ++mice;
                lastMouse = device;
            } else {
                ++receivers;
                lastReceiver = device;
            }
        }
        if (mice >= 2) return Report(MultiMouseText);
        if (receivers >= 2) return Report(MultiDongleText);
        if (FailedType == kMouseFirmware && mice == 1 && MidOf(lastMouse) != recordMid)
            return Report(MultiMouseText);
        if (FailedType == kReceiverFirmware && receivers == 1 && MidOf(lastReceiver) != recordMid)
            return Report(MultiDongleText);
    }

    int receiversCounted = 0;
    if (FailedType == kReceiverFirmware) {
        const QStringList all = WirelessPids + Wireless2Pids + Wireless4Pids + Wireless8Pids;
        for (const DeviceAllInfo& device : FoundDevicesMirror)
            if (all.contains(device.Pid)) ++receiversCounted;
        if (receiversCounted == 1) {
            const QStringList* byClass = classText == "1"   ? &WirelessPids
                                         : classText == "2" ? &Wireless2Pids
                                         : classText == "4" ? &Wireless4Pids
                                         : classText == "8" ? &Wireless8Pids
                                                            : nullptr;
            receiversCounted = 0;
            if (byClass)
                for (const DeviceAllInfo& device : FoundDevicesMirror)
                    if (byClass->contains(device.Pid)) ++receiversCounted;
        }
    }
    RepairStage = 0;

    if (!DirectStart) {
        const DeviceAllInfo& first = FoundDevices.first();
        if (FailedType == kReceiverFirmware && !(first.IsUsb && MidOf(first) == recordMid))
            return Report(NoUsbText);
        if (FailedType == kMouseFirmware && !(!first.IsUsb && MidOf(first) == recordMid))
            return Report(NoReceiverText);

        ConfigIni* table = ConfigIni::GetInstance();
        DriveSection.clear();
        const int total = DeviceProductTable::DeviceTotal();
        for (int n = 0; n < total; ++n) {
            const QString section = DeviceProductTable::DriveGroup(n);
            if (table->GetValue(section, "MID").toInt() == recordMid) {
                DriveSection = section;
                break;
            }
        }
        if (DriveSection.isEmpty()) return Report(ErrorFileText);

        const QString mouseModel = table->GetValue(DriveSection, "MM");
        const int receiverClass =
            (classText == "1" || classText == "2" || classText == "4" || classText == "8") ? classText.toInt()
                                                                                           : 0;
        RepairReceiverClass = receiverClass;
        ReceiverModel =
            receiverClass ? table->GetValue(DriveSection, ReceiverModelKey(receiverClass)) : QString();
        RepairCid = FailRecordParts[2].toInt();
        RepairMid = table->GetValue(DriveSection, "MID").toInt();
        {
            QMutexLocker lock(&RunData().Lock);
            RunData().MouseModel = mouseModel;
        }
        const bool mouseImage = FindRepairFirmware(kMouseFirmware, "", mouseModel, RepairCid, RepairMid);
        const bool receiverImage =
            receiverClass && FindRepairFirmware(kReceiverFirmware, "", ReceiverModel, RepairCid, RepairMid);
        RepairMode = mouseImage && receiverImage ? 2 : 1;
        if (FailedType == kReceiverFirmware) {
            RepairFailedStage = 0;
            FirmwareFound = receiverClass &&
                            FindRepairFirmware(kReceiverFirmware, "", ReceiverModel, RepairCid, RepairMid);
        } else {
            RepairFailedStage = 1;
            FirmwareFound = FindRepairFirmware(kMouseFirmware, "", mouseModel, RepairCid, RepairMid);
        }
    } else {
        FirmwareFound = RepairFirmwareImage() != nullptr;
    }

    // No image: no library call and nothing to start.
    const FirmwareImage image = RepairFirmwareImage();
    if (!FirmwareFound || !image) {
        FirmwareFound = false;
        return Report(ErrorFileText);
    }
    int count = 5;
    UsbUpgradeC_FindBootDevices(reinterpret_cast<const unsigned char*>(image->constData()), &count);
    const int total = count + receiversCounted;
    if (total == 1) return true;
    SetStatusText(total == 0 ? NotDeviceText : SameDeviceText);
    ShowIdleState();
    ui->NewHong->show();
    FirmwareFound = false;
    return false;
}

void UpDateRepair::EndRepairUnstarted(const QString& reason) {
    SetStatusText(reason);
    RepairFailed(false);
    RunEnded();
}

void UpDateRepair::StartRepairUpgrade() {
    if (!FirmwareFound) return;
    RepairRunning = true;
    ShowUpgradingState();
    UpdateIdle = false;
    {
        QMutexLocker lock(&RunData().Lock);
        RunData().Devices = FoundDevices;
        RunData().ReceiverOnly = false;
    }
    const int mid = RepairMid;
    QString mouseModel;
    {
        QMutexLocker lock(&RunData().Lock);
        mouseModel = RunData().MouseModel;
    }
    if (RepairReceiverClass && FindRepairFirmware(kReceiverFirmware, "", ReceiverModel, RepairCid, mid)) {
        RepairStage = 0;
    } else {
        RepairStage = 1;
        if (!FindRepairFirmware(kMouseFirmware, "", mouseModel, RepairCid, mid)) {
            FirmwareFound = false;
            EndRepairUnstarted(ErrorFileText);
            return;
        }
    }
    StartRepairStage();
}

void UpDateRepair::StartRepairStage() {
    RunRepairStage(RepairFirmwareImage());
}

void UpDateRepair::RunRepairStage(const FirmwareImage& image) {
    if (!image) {
        EndRepairUnstarted(ErrorFileText);
        return;
    }
    Watchdog->start();
    if (!StartStage(image)) {
        FirmwareFound = false;
        Watchdog->stop();
        RepairFailed(false);
        RunEnded();
    }
}

void UpDateRepair::StartRepairUpgradeDirect(int argument, int receiverClass, int cid, int mid) {
    DirectStart = true;
    DirectArgument = argument;
    const FirmwareImage image = RepairFirmwareImage();
    RepairRunning = true;
    ShowUpgradingState();
    UpdateIdle = false;
    RepairStage = 0;
    RepairFailedStage = 0;
    RepairMode = 1;
    RepairReceiverClass = receiverClass;
    RepairCid = cid;
    RepairMid = mid;
    {
        QMutexLocker lock(&RunData().Lock);
        RunData().Devices = FoundDevices;
        RunData().ReceiverOnly = true;
    }
    FirmwareFound = image != nullptr;
    RunRepairStage(image);
}

void UpDateRepair::SlotRepairWatchdog() {
    if (!RepairStageActive) {
        Watchdog->stop();
        return;
    }
    if (Clock::ElapsedMs() - RepairLastStatusMs < kStatusTimeoutMs) return;
    if (!RepairStageActive.exchange(false)) return;
    Watchdog->stop();
    RepairFailed(true);
    RunEnded();
}

void RepairUpgradeCallback(const unsigned char* status) {
    if (!status || status[0] != 7) return;
    if (status[1] == 1) {
        if (!RepairStageActive) return;
        RepairLastStatusMs = Clock::ElapsedMs();
        RepairUpgradeBusy = true;
        int value = status[2];
        if (RepairMode == 2) value = status[2] / 2 + (RepairStage == 1 ? 50 : 0);
        PostMsg::GetInstance()->EmitSigAutoRepairProgress(value);
        return;
    }
    if (status[1] != 2) return;
    // The watchdog may have ended the stage already.
    if (!RepairStageActive.exchange(false)) return;

    if (status[2] != 1) {
        RepairFailed(true);
        RunEnded();
        return;
    }
    EndStageFailRecord(true);
    if (RepairStage == 1) {
        RepairSucceeded();
        RunEnded();
        return;
    }
    RepairStage = 1;
    QString mouseModel;
    QList<DeviceAllInfo> devices;
    bool receiverOnly = false;
    {
        QMutexLocker lock(&RunData().Lock);
        mouseModel = RunData().MouseModel;
        devices = RunData().Devices;
        receiverOnly = RunData().ReceiverOnly;
    }
    bool mousePresent = RepairFailedStage == 1;
    for (const DeviceAllInfo& device : devices)
        if (device.IsUsb && MidOf(device) == RepairMid) mousePresent = true;
    if (!receiverOnly && mousePresent &&
        FindRepairFirmware(kMouseFirmware, "", mouseModel, RepairCid, RepairMid)) {
        const FirmwareImage image = RepairFirmwareImage();
        RepairUpgradeBusy = false;
        if (image && StartStage(image)) return;
        RepairFailed(false);
        RunEnded();
        return;
    }
    RepairSucceeded();
    RunEnded();
}
