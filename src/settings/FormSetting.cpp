#include "settings/FormSetting.h"

#include <QCoreApplication>
#include <QDir>
#include <QListView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include "core/ConfigIni.h"
#include "core/CurrentFlashData.h"
#include "core/DeviceAllInfo.h"
#include "core/DeviceProductTable.h"
#include "core/LanguageTables.h"
#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "device/DeviceDataCallback.h"
#include "device/DeviceFlags.h"
#include "device/Worker.h"
#include "dialogs/ContainReset.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/UpDataParam.h"
#include "dialogs/UpDateWarning.h"
#include "firmware/FailRecord.h"
#include "firmware/FirmwareImages.h"
#include "firmware/UpdateStages.h"
#include "firmware/UpgradeState.h"
#include "hidusb/HIDUsb.h"
#include "home/Match.h"
#include "platform/AutoStart.h"
#include "platform/DesktopLinks.h"
#include "platform/Paths.h"
#include "platform/RegistryStore.h"
#include "platform/ScreenMetrics.h"
#include "settings/UpDateRepair.h"
#include "ui_FormSetting.h"
#include "widgets/ColorText.h"

QString WiredModeText;

namespace {
constexpr char kProgramVersion[] = "1.0.2.0";

bool IsReceiverType(quint8 type) {
    return type == kTypeReceiver4K || type == kTypeReceiver2K || type == kTypeReceiver1K ||
           type == kTypeReceiver8K;
}

// The first receiver of a two-entry list (non-empty receiver id, not on a cable, a receiver type).
const DeviceAllInfo* ListedReceiver(const QList<DeviceAllInfo>& list) {
    if (list.size() != 2) return nullptr;
    for (const DeviceAllInfo& entry : list)
        if (!entry.ReceiverId.isEmpty() && !entry.IsUsb && IsReceiverType(entry.Type)) return &entry;
    return nullptr;
}

std::atomic<int>& StateOf(int deviceType) {
    return deviceType == kMouseFirmware ? MouseUpgradeState : ReceiverUpgradeState;
}

QString LabelSheet(const QString& colour) {
    return "QLabel{color: rgb(" + colour + ";);}";
}

QString PictureButtonSheet(const QString& widget, const QString& colour, const QString& picture) {
    return widget + "{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(" +
           colour + ";);background-image: url(" + picture + ");}";
}
}  // namespace

FormSetting::FormSetting(QWidget* parent) : QWidget(parent), form(new Ui_FormSetting) {
    form->setupUi(this);
    form->Receive_2->hide();

    PostMsg::Connect(SIGNAL(SigLanguageSameB(int)), this, SLOT(SlotLanguageSameB(int)));
    PostMsg::Connect(SIGNAL(SigSetNewVer()), this, SLOT(SetVerText()));
    PostMsg::Connect(SIGNAL(SigSetver(int)), this, SLOT(SetVer(int)));
    PostMsg::Connect(SIGNAL(SigLabelText(int, QString)), this, SLOT(SlotLabelText(int, QString)));
    PostMsg::Connect(SIGNAL(SigCheckUpdate()), this, SLOT(SlotCheckUpdate()));
    PostMsg::Connect(SIGNAL(SigLabelTextB(QString, QString)), this, SLOT(SlotLabelTextB(QString, QString)));
    // on_Start is no slot (a slot named so would ask connectSlotsByName for a widget "Start").
    connect(PostMsg::GetInstance(), &PostMsg::SigUpdateStart, this, &FormSetting::on_Start,
            PostMsg::ConnectionType("SigUpdateStart"));
    PostMsg::Connect(SIGNAL(SigUpdateFrame(bool)), this, SLOT(SlotUpdateFrame(bool)));
    PostMsg::Connect(SIGNAL(SigContinue(int)), this, SLOT(SlotContinue(int)));
    connect(form->scrollArea->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &FormSetting::SlotScroolChange);

    PictureDir = Paths::InstallDir() + "/Picture/FormSetting/";

    if (!RepairDialog) {
        RepairDialog = new UpDateRepair;
        RepairDialog->hide();
    }
    UpgradeWarning = new UpDateWarning;

    const QString label = OptionColorText("LabelColor");
    ButtonColorText = OptionColorText("ButtonColor");
    const QString text = OptionColorText("ComboxTextColor");
    const QString select = OptionColorText("ComboxSelectColor");
    const QString back = OptionColorText("ComboxBackGroundColor");
    const QString& P = PictureDir;
    for (QLabel* l : {form->label, form->label_2, form->label_3, form->label_4, form->label_5, form->label_6,
                      form->label_7, form->label_8, form->label_9, form->label_10})
        l->setStyleSheet(LabelSheet(label));
    form->pushButton_2->setStyleSheet(
        PictureButtonSheet("QPushButton", ButtonColorText, P + "PariButton.png"));
    form->Reset->setStyleSheet(PictureButtonSheet("QToolButton", ButtonColorText, P + "PariButton.png"));
    const QString link =
        "QPushButton{border:none;background:transparent;color: rgb(" + label + ";);text-align : ";
    form->pushButton->setStyleSheet(link + "left;padding-right:1px;}");
    form->pushButton_3->setStyleSheet(link + "right;padding-right:1px;}");
    form->pushButton_4->setStyleSheet(link + "right;padding-right:1px;}");
    for (QToolButton* marker : {form->TitleButton_2, form->TitleButton_3, form->TitleButton_4,
                                form->TitleButton_5, form->TitleButton_8})
        marker->setStyleSheet("#" + marker->objectName() + "{border-image: url(" + P + "Title.png" + ");}");
    form->toolButton->setStyleSheet("#toolButton{border-image: url(" + P + "Mouse.png" + ");}");
    form->comboBox->setStyleSheet(
        "QComboBox{border: 1px solid gray; color: rgb(" + text + "); border-image: url(" + P +
        "ComboboxBack.png" + ");}QComboBox::drop-down:button{border-radius:5px; background:rgb(" + back +
        ");} QComboBox::down-arrow{image: url(" + P + "Menu.png" +
        "); right: 8px; }QComboBox::down-arrow:on{ image: url(" + P + "MenuClicked.png" +
        ");}QComboBox QAbstractItemView::item{height:25px;}QComboBox QAbstractItemView {outline: 0px solid "
        "gray; border: 1px  solid gray;color: rgb(" +
        text + "); border-image: url(" + P + "ComboboxTextBack.png" + ");selection-background-color: rgb(" +
        select + "); }QComboBox:disabled{color: rgb(63, 63, 63);}");
    auto* view = new QListView(form->comboBox);
    view->setStyleSheet("QListView::item:selected{background-color: rgb(" + select +
                        ");}QListView::item:hover{background-color: rgb(" + select + ");}");
    form->comboBox->setView(view);
    form->comboBox->setMaxVisibleItems(5);
    form->checkBox->setStyleSheet(
        "#checkBox{color: rgb(255, 255, 255);}#checkBox::indicator:unchecked{image: url(" + P +
        "CheckBox.png" + ");}#checkBox::indicator:checked{image: url(" + P + "CheckBoxChecked.png" + ");}");
    for (QToolButton* badge : {form->toolButton_2, form->toolButton_3}) {
        badge->setStyleSheet(
            "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: "
            "rgb(255,106,0);background-image: url(" +
            P + "Picture.png" + ");}");
        badge->hide();
    }
    form->scrollArea->setFrameShape(QFrame::NoFrame);

    DongleCheckTimer = new QTimer(this);
    MouseCheckTimer = new QTimer(this);
    DongleCheckTimer->setInterval(1000);
    MouseCheckTimer->setInterval(1000);
    connect(DongleCheckTimer, &QTimer::timeout, this, &FormSetting::onDongleCheckTimer);
    connect(MouseCheckTimer, &QTimer::timeout, this, &FormSetting::onMouseCheckTimer);

    VersionLabelPos = form->label->pos();
    form->checkBox->setChecked(MacroIni::GetInstance()->GetValue("AutoStart", "Enable").toInt() == 1);

    Worker::UpdateAvailable = IsUpdateAvailable;
    Worker::RepairDialogVisible = [] { return RepairDialog && RepairDialog->isVisible(); };

    // The box shows the stored language from the start.
    SlotLanguageSameB(ValidLanguage(CurrentLanguage));

    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    SlotAllLanguage(CurrentLanguage);
}

FormSetting::~FormSetting() {
    delete UpgradeWarning;
    delete form;
}

void FormSetting::mousePressEvent(QMouseEvent*) {}

// ---- Language, links, auto start, pairing ----

void FormSetting::SlotAllLanguage(int index) {
    index = ValidLanguage(index);
    QFont font(QStringLiteral("微软雅黑"), 10);
    if (FontScaleApplied == 1) {
        const int dpi = ScreenMetrics::LogicalDpiX();
        if (dpi > 0) font.setPointSizeF(10.0 * 96.0 / dpi);
    }
    form->Receive_2->setFont(font);
    FontScaleApplied = 1;

    const int x = index == 1 ? 250 : 220;
    form->label_5->move(x, 155);
    form->Receive_2->move(280, 170);
    form->toolButton_2->move(460, 160);
    form->label_7->move(x, 185);
    form->toolButton_3->move(460, 190);

    form->pushButton_4->setText(CompanyText(index == 1 ? 1 : 0));
    form->pushButton_3->setText(CompanyText(index == 1 ? 2 : 3));

    const auto home = [index](const char* key) { return LanguageText(MouseHomeTexts, index, key); };
    const auto settings = [index](const char* key) { return LanguageText(MouseSettingsTexts, index, key); };
    const auto pair = [index](const char* key) { return LanguageText(MousePairTexts, index, key); };
    form->label->setText(home("Version") + kProgramVersion);
    form->label_2->setText(settings("Language"));
    form->label_3->setText(settings("DeviceInfo"));
    form->label_4->setText(settings("DongleVersion"));
    form->label_6->setText(settings("MouseVersion"));
    form->label_8->setText(pair("PairTool"));
    form->pushButton_2->setText(pair("Pair"));
    UpgradeText = LanguageText(MouseUpdateTexts, index, "Upgrade");
    form->Receive_2->setText(UpgradeText);
    form->label_9->setText(home("Others"));
    form->label_10->setText(home("AutoOpen"));
    form->Reset->setText(settings("Restore"));
    form->label_12->setText(settings("Restore"));
    form->pushButton->setText(home("WindowSet"));
    WiredModeText = home("WiredMode");
    NoDeviceText = home("NoDevice");
    SameDeviceText = home("SameDevice");
    NoUpdateText = LanguageText(KeyboardUpdateTexts, index, "newTips");
    NoReceiverText = home("NoRecieve");
    NoUsbText = home("NoUSB");
    ErrorText = home("Error");
    MultiMouseText = home("MultiMouse");
    MultiDongleText = home("MultiDongle");
}

void FormSetting::on_comboBox_activated(int index) {
    // A choice that could not be stored would be lost at the next start: the box goes back.
    if (!MacroIni::GetInstance()->SetValue("Language", "Language", QString::number(index))) {
        SlotLanguageSameB(ValidLanguage(CurrentLanguage));
        TellStoreFailed();
        return;
    }
    CurrentLanguage = index;
    PostMsg* hub = PostMsg::GetInstance();
    hub->EmitSigAllLanguage(index);
    hub->EmitSigLanguageSameA(index);
}

void FormSetting::SlotLanguageSameB(int index) {
    const bool blocked = form->comboBox->blockSignals(true);
    form->comboBox->setCurrentIndex(index);
    form->comboBox->blockSignals(blocked);
}

void FormSetting::TellStoreFailed() {
    UpDateWarning notice;
    notice.SetText(LanguageText(MouseSettingsTexts, CurrentLanguage, "StoreFail"));
    ModalRunner::RunOver(notice, this, -75, -65);
}

void FormSetting::on_checkBox_clicked(bool checked) {
    // The entry first: when it cannot be written or removed, Macro.ini keeps the stored choice.
    const QString name = QCoreApplication::applicationName();
    const bool done =
        checked ? AutoStart::Enable(name, QCoreApplication::applicationFilePath()) : AutoStart::Disable(name);
    if (!done) {
        const bool blocked = form->checkBox->blockSignals(true);
        form->checkBox->setChecked(!checked);
        form->checkBox->blockSignals(blocked);
        TellStoreFailed();
        return;
    }
    if (!MacroIni::GetInstance()->SetValue("AutoStart", "Enable", checked ? "1" : "0")) {
        // Macro.ini keeps the old choice: the entry goes back with the box.
        if (checked)
            AutoStart::Disable(name);
        else
            AutoStart::Enable(name, QCoreApplication::applicationFilePath());
        const bool blocked = form->checkBox->blockSignals(true);
        form->checkBox->setChecked(!checked);
        form->checkBox->blockSignals(blocked);
        TellStoreFailed();
    }
}

void FormSetting::on_pushButton_2_clicked() {
    Match pairing;
    pairing.InitPair();
    ModalRunner::RunOver(pairing, this, -70, -30);
    StartUsbChanged(DeviceUsbChangedCallback, 600);
    const QByteArray path = CurrentDevicePathCopy();
    UsbServerC_Start(path.constData(), path.constData(), DeviceDataCallback);
}

void FormSetting::on_pushButton_clicked() {
    if (DesktopLinks::OpenMouseSettings()) return;
    UpDateWarning notice;
    notice.SetText(LanguageText(MouseSettingsTexts, CurrentLanguage, "NoMouseSettings"));
    ModalRunner::RunOver(notice, this, -75, -65);
}

void FormSetting::on_pushButton_3_clicked() {
    DesktopLinks::OpenWebAddress(form->pushButton_3->text());
}

void FormSetting::SlotScroolChange(int value) {
    form->label->move(VersionLabelPos.x(), value + VersionLabelPos.y() + 10);
}

// ---- Versions and the update offer ----

QString FormSetting::WaitingStyle() const {
    return PictureButtonSheet("QToolButton", ButtonColorText, PictureDir + "WaitUpdate.png") +
           "QToolButton::hover{background-image: url(" + PictureDir + "WaitUpdateHover.png" + ");}";
}

QString FormSetting::ConfirmStyle() const {
    return PictureButtonSheet("QToolButton", ButtonColorText, PictureDir + "Confirm.png") +
           "QToolButton::hover{background-image: url(" + PictureDir + "Confirm.png" + ");}";
}

bool FormSetting::RunHeld() const {
    return RepairDialog && RepairDialog->HoldsRun();
}

void FormSetting::SetVer(int index) {
    PostMsg* hub = PostMsg::GetInstance();
    switch (index) {
        case 0: {
            const DeviceAllInfo current = CurrentDeviceCopy();
            const DeviceAllInfo* listed = current.IsUsb ? ListedReceiver(DevicePageDevices) : nullptr;
            QString receiverVersion = current.Version;
            if (current.Online && current.IsUsb) receiverVersion = listed ? listed->Version : QString();
            const QString mouseVersion = current.Online ? current.MouseVersion : QString();
            int receiverClass = DeviceProductTable::ReceiverClass(current.Type);
            if (current.IsUsb) receiverClass = listed ? DeviceProductTable::ReceiverClass(listed->Type) : 0;
            // The labels first: the check that the update frame starts reads them.
            form->label_5->setText(receiverVersion);
            form->label_7->setText(mouseVersion);
            if (QDir(Paths::InstallDir() + "/bin").exists() && !RunHeld()) {
                MouseUpdateAvailable = IsUpdateAvailable(kMouseFirmware, mouseVersion, receiverClass);
                ReceiverUpdateAvailable =
                    IsUpdateAvailable(kReceiverFirmware, receiverVersion, receiverClass);
                hub->EmitSigAddUpdate(0, MouseUpdateAvailable);
                hub->EmitSigAddUpdate(1, ReceiverUpdateAvailable);
                const bool any = MouseUpdateAvailable || ReceiverUpdateAvailable;
                hub->EmitSigUpdateFrame(any);
                form->Receive_2->setStyleSheet(any ? WaitingStyle() : ConfirmStyle());
            }
            hub->EmitSigAddVer(1, receiverVersion);
            hub->EmitSigAddVer(0, mouseVersion);
            break;
        }
        case 1:
            form->toolButton_2->hide();
            break;
        case 2:
            form->toolButton_3->hide();
            break;
        case 4:
            form->Receive_2->setText(UpgradeText);
            form->toolButton_3->hide();
            form->toolButton_2->hide();
            if (RunHeld()) break;
            NoNewFirmware = false;
            MouseNoImage = false;
            MouseUpgradeBusy = false;
            ReceiverUpgradeBusy = false;
            break;
        case 6:
            form->label_5->clear();
            hub->EmitSigAddVer(1, QString());
            form->label_7->clear();
            hub->EmitSigAddVer(0, QString());
            break;
        default:
            break;
    }
}

void FormSetting::SetVerText() {
    form->Receive_2->setText(UpgradeText);
}

void FormSetting::SlotLabelText(int index, QString Text) {
    if (index != 0 && index != 1) return;
    (index == 0 ? form->label_5 : form->label_7)->setText(Text);
    PostMsg::GetInstance()->EmitSigAddVer(index == 0 ? 1 : 0, Text);
    std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
    (index == 0 ? CurrentDevice.Version : CurrentDevice.MouseVersion) = Text;
}

void FormSetting::SlotLabelTextB(QString TextA, QString Text) {
    form->label_5->setText(TextA);
    PostMsg* hub = PostMsg::GetInstance();
    hub->EmitSigAddVer(1, TextA);
    hub->EmitSigAddUpdate(1, Text == "true");
    form->Receive_2->setStyleSheet(Text == "true" ? WaitingStyle() : ConfirmStyle());
}

void FormSetting::PlaceOverPage(QWidget& dialog) const {
    dialog.move(ModalRunner::CentredPosition(mapToGlobal(QPoint(0, 0)), size(), dialog.size(), -75, -65));
}

void FormSetting::SlotUpdateFrame(bool IsVis) {
    if (RunHeld()) return;
    if (!IsVis) {
        RepairDialog->close();
        return;
    }
    if (form->Receive_2->text() == NoUpdateText) return;
    NoNewFirmware = false;
    PlaceOverPage(*RepairDialog);
    RepairDialog->setModal(true);
    RepairDialog->ResetState();
    if (ChechIsUpDate()) {
        RepairDialog->ShowReadyState();
        RepairDialog->show();
    } else if (NoNewFirmware) {
        form->Receive_2->setText(NoUpdateText);
    } else {
        RepairDialog->show();
    }
}

void FormSetting::SlotCheckUpdate() {
    if (RunHeld()) return;
    if (ChechIsUpDate()) RepairDialog->ShowReadyState();
}

void FormSetting::SlotContinue(int) {
    BootCount1K = BootCount2K = BootCount4K = BootCount8K = 0;
    const auto doneOrNoImage = [](int state) { return state == StageSucceeded || state == StageNoImage; };
    if (MouseUpdateAvailable && doneOrNoImage(ReceiverUpgradeState)) {
        ChainedUpgrade = true;
        on_Mouse_clicked();
    }
    if (ReceiverUpdateAvailable && doneOrNoImage(MouseUpgradeState)) {
        ChainedUpgrade = true;
        on_Receive_clicked();
    }
}

// ---- Restore defaults ----

void FormSetting::on_Reset_clicked() {
    PostMsg* hub = PostMsg::GetInstance();
    if (!UsbFinderC_GetDeviceOnLine(CurrentDevicePathCopy().constData())) {
        hub->EmitSigMouseOffLineo(0);
        return;
    }
    ContainReset confirm;
    ModalRunner::RunOver(confirm, this, -75, -65);
    if (!confirm.Confirmed) return;

    DpiSendSuppressed = true;
    const bool polling = OnlinePollTimer && OnlinePollTimer->isActive();
    if (OnlinePollTimer) OnlinePollTimer->stop();
    UsbServer_SetBatteryOptimizeEnable(false);
    FlashDataMap image{};
    {
        std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
        image = CurrentFlashData;
    }
    // The pre-reset image is no longer the device's: the wait waits for the new dump, and no sender
    // hands the old image back over the factory settings.
    const bool fromDevice = FlashDataFromDevice;
    const bool refreshed[] = {ButtonPageRefreshed, LightPageRefreshed, SensorPageRefreshed};
    FlashDataFromDevice = false;
    ButtonPageRefreshed = false;
    LightPageRefreshed = false;
    SensorPageRefreshed = false;
    if (!ProtocolDataUpdate(&image) || !UsbServer_SetClearSetting()) {
        // Refused: the mouse keeps its settings, which the pages still show, and nothing is waited for.
        FlashDataFromDevice = fromDevice;
        ButtonPageRefreshed = refreshed[0];
        LightPageRefreshed = refreshed[1];
        SensorPageRefreshed = refreshed[2];
        UsbServer_SetBatteryOptimizeEnable(true);
        DpiSendSuppressed = false;
        if (polling) OnlinePollTimer->start();
        ReportRefused();
        return;
    }

    UpDataParam wait;
    wait.StartTimer();
    wait.ForcedMode = true;
    WorkerRunEnable = true;
    if (DeviceWorker) DeviceWorker->start();
    ModalRunner::RunOver(wait, this, -75, -65);
    DpiSendSuppressed = false;
    if (OnlinePollTimer) OnlinePollTimer->start();
}

// ---- Update check and start ----

bool FormSetting::Report(const QString& text) {
    RepairDialog->SetStatusText(text);
    RepairDialog->ShowIdleState();
    return false;
}

bool FormSetting::ChechIsUpDate() {
    UpgradeReceiverClass = 0;
    MouseRepairPending = 0;
    // The device of the last stage, read as every reader of the record reads it.
    FailRecordEntry record;
    const bool useRecord = ParseFailRecordEntry(UpgradeFailRecord().split(';').first(), &record);
    const int failedType = useRecord ? record.Type : 0;
    const int recordClass = useRecord ? record.ReceiverClass : 0;
    const int recordCid = useRecord ? record.Cid : 0;
    const int recordMid = useRecord ? record.Mid : 0;

    ConfigIni* table = ConfigIni::GetInstance();
    ModelSection = DeviceProductTable::DriveGroup(CurrentDeviceCopy().DriveIndex);
    const QString mouseModel = table->GetValue(ModelSection, "MM");
    const int mid = table->GetValue(ModelSection, "MID").toInt();
    UpgradeCid = table->GetValue("Option", "CID").toInt();
    const QList<DeviceAllInfo> list = DevicePageDevices;

    if (list.size() == 2) {
        if (!list[0].IsUsb && !list[1].IsUsb) return Report(NoUsbText);
        if (MidOf(list[0]) != MidOf(list[1])) return Report(NoReceiverText);
        const DeviceAllInfo* receiver = ListedReceiver(list);
        if (!receiver) return Report(NoReceiverText);
        UpgradeReceiverClass = DeviceProductTable::ReceiverClass(receiver->Type);
        ReceiverModelName = table->GetValue(ModelSection, ReceiverModelKey(UpgradeReceiverClass));
        const bool receiverFound =
            FindUpdateFirmware(kReceiverFirmware, form->label_5->text(), ReceiverModelName, UpgradeCid, mid);
        const bool mouseFound =
            FindUpdateFirmware(kMouseFirmware, form->label_7->text(), mouseModel, UpgradeCid, mid);
        MouseUpdateAvailable = mouseFound;
        if (receiverFound) {
            UpgradeMode = mouseFound ? 2 : 1;
            return true;
        }
        if (mouseFound) {
            UpgradeMode = 1;
            return true;
        }
        NoNewFirmware = true;
        return Report(NoUpdateText);
    }
    if (list.size() == 1 && useRecord) {
        const DeviceAllInfo& entry = list[0];
        if (failedType == kReceiverFirmware) {
            if (!(entry.IsUsb && MidOf(entry) == recordMid)) return Report(NoUsbText);
        } else if (failedType == kMouseFirmware) {
            MouseRepairPending = 1;
            if (!(!entry.IsUsb && MidOf(entry) == recordMid)) return Report(NoReceiverText);
        } else {
            return Report(ErrorText);
        }
        if (!ReceiverModelKey(recordClass).isEmpty()) {
            UpgradeReceiverClass = recordClass;
            RepairReceiverModelName = table->GetValue(ModelSection, ReceiverModelKey(UpgradeReceiverClass));
        }
        if (CidOf(entry) != recordCid) return Report(ErrorText);
        const bool found =
            failedType == kReceiverFirmware
                ? FindUpdateFirmware(kReceiverFirmware, "", RepairReceiverModelName, recordCid, mid)
                : FindUpdateFirmware(kMouseFirmware, "", mouseModel, recordCid, mid);
        const FirmwareImage image = UpdateFirmwareImage();
        // No image, no library call.
        if (!found || !image) return Report(NoDeviceText);
        int count = 5;
        UsbUpgradeC_FindBootDevices(reinterpret_cast<const unsigned char*>(image->constData()), &count);
        if (count == 0) return Report(NoDeviceText);
        if (count != 1) return Report(SameDeviceText);
        const bool other =
            failedType == kReceiverFirmware
                ? FindUpdateFirmware(kMouseFirmware, form->label_7->text(), mouseModel, UpgradeCid, mid)
                : FindUpdateFirmware(kReceiverFirmware, form->label_5->text(), RepairReceiverModelName,
                                     UpgradeCid, mid);
        UpgradeMode = other ? 2 : 1;
        return true;
    }
    if (list.size() == 1) return Report(list[0].IsUsb ? NoReceiverText : NoUsbText);
    if (list.isEmpty()) return Report(ErrorText);

    int receivers = 0, cables = 0;
    for (const DeviceAllInfo& entry : list) (entry.IsUsb ? cables : receivers)++;
    if (receivers >= 2) RepairDialog->SetStatusText(MultiDongleText);
    if (cables >= 2) RepairDialog->SetStatusText(MultiMouseText);
    RepairDialog->ShowIdleState();
    return false;
}

void FormSetting::on_Start() {
    BootCount1K = BootCount2K = BootCount4K = BootCount8K = 0;
    UpdateRunSucceeded = false;
    UpdateRunFailed = false;
    RunReason = NoUpdateText;
    RepairDialog->ShowUpgradingState();
    UpdateStepRunning = true;
    UpdateIdle = false;
    const int mid = ConfigIni::GetInstance()->GetValue(ModelSection, "MID").toInt();
    const bool receiverFound = FindUpdateFirmware(kReceiverFirmware, form->label_5->text(),
                                                  RepairReceiverModelName, UpgradeCid, mid);
    if (!receiverFound && MouseRepairPending == 1) {
        ChainedUpgrade = true;
        on_Mouse_clicked();
    } else if (StageUnderWay(ReceiverUpgradeState) || StageUnderWay(MouseUpgradeState) || MouseUpgradeBusy ||
               NoNewFirmware) {
        if (NoNewFirmware) {
            PostMsg::GetInstance()->EmitSigAddUpdate(0, false);
            PostMsg::GetInstance()->EmitSigAddUpdate(1, false);
            SlotContinue(0);
        }
    } else if (!NoNewFirmware && !MouseUpgradeBusy) {
        StartReceiverStage();
    }
    if (!DongleCheckTimer->isActive() && !MouseCheckTimer->isActive()) EndRun();
}

void FormSetting::on_Receive_clicked() {
    const DeviceAllInfo current = CurrentDeviceCopy();
    if (!current.IsUsb) {
        UpgradeReceiverClass = DeviceProductTable::ReceiverClass(current.Type);
    } else {
        const DeviceAllInfo* receiver = ListedReceiver(DevicePageDevices);
        UpgradeReceiverClass = receiver ? DeviceProductTable::ReceiverClass(receiver->Type) : 0;
    }
    if (NoNewFirmware || MouseUpgradeBusy) return;
    StartReceiverStage();
}

void FormSetting::StartReceiverStage() {
    UpdateStepRunning = true;
    UpdateStage = 0;
    form->toolButton_2->hide();
    SetVer(2);
    UpdateIdle = false;
    DongleCheckTimer->start();
    ReceiverUpgradeBusy = true;
}

void FormSetting::on_Mouse_clicked() {
    const DeviceAllInfo current = CurrentDeviceCopy();
    if (current.IsUsb) {
        const QList<DeviceAllInfo> list = DevicePageDevices;
        if (list.isEmpty() || !list[0].IsUsb || MidOf(list[0]) != MidOf(current)) {
            UpdateRunFailed = true;
            PostMsg::GetInstance()->EmitSigProgress(0, 5);
            return;
        }
    }
    if (!MouseNoImage && !ReceiverUpgradeBusy) {
        UpdateStepRunning = true;
        UpdateStage = 0;
        form->toolButton_3->hide();
        SetVer(1);
        UpdateIdle = false;
        MouseCheckTimer->start();
        MouseUpgradeBusy = true;
    } else if (MouseNoImage) {
        form->Receive_2->setText(NoUpdateText);
    }
}

void FormSetting::EndRun() {
    UpdateStepRunning = false;
    UpdateIdle = true;
    ReceiverUpgradeBusy = false;
    MouseUpgradeBusy = false;
    ChainedUpgrade = false;
    if (!RepairDialog->HoldsRun()) return;
    if (UpdateRunFailed) {
        PostMsg::GetInstance()->EmitSigProgress(0, 1);
    } else if (UpdateRunSucceeded) {
        PostMsg::GetInstance()->EmitSigProgress(0, 2);
    } else {
        RepairDialog->SetStatusText(RunReason);
        RepairDialog->ShowIdleState();
    }
}

// ---- Upgrade steps ----

void FormSetting::onDongleCheckTimer() {
    RunUpdateStep(UpdateStage, kReceiverFirmware, form->label_5->text());
}

void FormSetting::onMouseCheckTimer() {
    RunUpdateStep(UpdateStage, kMouseFirmware, form->label_7->text());
}

bool FormSetting::StartStage(int deviceType) {
    ConfigIni* table = ConfigIni::GetInstance();
    return StartUpdateStage(deviceType, UpdateFirmwareImage(), table->GetValue("Option", "CID"),
                            table->GetValue(ModelSection, "MID"));
}

void FormSetting::ShowStageWarning(const QString& text) {
    UpgradeWarning->SetText(text);
    PlaceOverPage(*UpgradeWarning);
    UpgradeWarning->setModal(true);
    UpgradeWarning->show();
}

void FormSetting::RunUpdateStep(int stage, int deviceType, const QString& version) {
    ConfigIni* table = ConfigIni::GetInstance();
    const bool mouse = deviceType == kMouseFirmware;
    std::atomic<int>& state = StateOf(deviceType);
    const auto noImage = [&] {
        state = StageNoImage;
        if (mouse) {
            FinishMouseUpgrade();
            MouseNoImage = true;
        } else {
            FinishReceiverUpgrade();
            NoNewFirmware = true;
        }
        RunReason = NoUpdateText;
        UpdateStage = 4;
    };
    int* const bootCounts[] = {&BootCount1K, &BootCount2K, &BootCount4K, &BootCount8K};
    const auto bootCountOf = [&](int receiverClass) -> int* {
        switch (receiverClass) {
            case 1:
                return &BootCount1K;
            case 2:
                return &BootCount2K;
            case 4:
                return &BootCount4K;
            case 8:
                return &BootCount8K;
            default:
                return nullptr;
        }
    };
    // The receiver image of the class, any version; counts the receivers in boot mode for it.
    const auto searchReceiver = [&](int receiverClass) {
        const QString key = ReceiverModelKey(receiverClass);
        if (key.isEmpty()) return false;
        const QString model = table->GetValue(ModelSection, key);
        if (receiverClass != 1 && model.isEmpty()) return false;
        if (!FindUpdateFirmware(kReceiverFirmware, "", model, UpgradeCid, UpgradeMid)) return false;
        const FirmwareImage image = UpdateFirmwareImage();
        UsbUpgradeC_FindBootDevices(reinterpret_cast<const unsigned char*>(image->constData()),
                                    bootCountOf(receiverClass));
        return true;
    };

    switch (stage) {
        case 0: {
            ModelSection = DeviceProductTable::DriveGroup(CurrentDeviceCopy().DriveIndex);
            UpgradeCid = table->GetValue("Option", "CID").toInt();
            UpgradeMid = table->GetValue(ModelSection, "MID").toInt();
            bool found = false;
            if (mouse) {
                found = FindUpdateFirmware(kMouseFirmware, version, table->GetValue(ModelSection, "MM"),
                                           UpgradeCid, UpgradeMid);
            } else {
                ReceiverPaths.clear();
                const DeviceAllInfo current = CurrentDeviceCopy();
                found = searchReceiver(UpgradeReceiverClass);
                for (const DeviceAllInfo& entry : DevicePageDevices) {
                    if (entry.IsUsb) continue;
                    if (!current.IsUsb && entry.Path == current.Path)
                        ReceiverPaths.append(QString::fromLocal8Bit(current.Path));
                    else if (current.IsUsb)
                        ReceiverPaths.append(QString::fromLocal8Bit(entry.Path));
                }
            }
            if (!found && UpgradeReceiverClass != 0)
                noImage();
            else
                UpdateStage = 1;
            break;
        }
        case 1: {
            int candidates = 0;
            if (mouse) {
                for (const DeviceAllInfo& entry : DevicePageDevices)
                    if (entry.IsUsb) ++candidates;
                candidates += MouseRepairPending;
            } else {
                candidates = ReceiverPaths.size();
                for (int* count : bootCounts) candidates += *count;
            }
            if (candidates == 1) {
                bool found = false;
                if (mouse) {
                    found = FindUpdateFirmware(kMouseFirmware, version, table->GetValue(ModelSection, "MM"),
                                               UpgradeCid, UpgradeMid);
                } else if (BootCount1K == 1 || BootCount2K == 1 || BootCount4K == 1 || BootCount8K == 1) {
                    const int receiverClass = BootCount1K == 1   ? 1
                                              : BootCount2K == 1 ? 2
                                              : BootCount4K == 1 ? 4
                                                                 : 8;
                    found = FindUpdateFirmware(kReceiverFirmware, "",
                                               table->GetValue(ModelSection, ReceiverModelKey(receiverClass)),
                                               UpgradeCid, UpgradeMid);
                } else {
                    const int receiverClass = UpgradeReceiverClass;
                    QString current = version;
                    QString key = QStringLiteral("DM");
                    if (receiverClass == 4 || receiverClass == 8 || receiverClass == 2) {
                        int word = 0;
                        const QByteArray path = ReceiverPaths.value(0).toLocal8Bit();
                        current = UsbFinderC_GetSlaveVersion(path.constData(), &word)
                                      ? VersionText(quint16(word))
                                      : QString();
                        key = ReceiverModelKey(receiverClass);
                    }
                    found = FindUpdateFirmware(kReceiverFirmware, current, table->GetValue(ModelSection, key),
                                               UpgradeCid, UpgradeMid);
                }
                if (!found) {
                    noImage();
                    break;
                }
                UpdateStage = 2;
                if (!StartStage(deviceType)) {
                    ShowUpdateStageRefused();
                    UpdateStage = 4;
                }
                break;
            }
            state = StageNoDevice;
            if (mouse)
                FinishMouseUpgrade();
            else
                FinishReceiverUpgrade();
            const QString warning = candidates == 0 ? (mouse ? WiredModeText : NoDeviceText) : SameDeviceText;
            RunReason = warning;
            if (ChainedUpgrade) {
                ShowStageWarning(warning);
                ChainedUpgrade = false;
            } else {
                (mouse ? form->toolButton_3 : form->toolButton_2)->show();
            }
            UpdateStage = 4;
            break;
        }
        case 2:
            // The stage was marked running before the start; a final status may already be in.
            UpdateStage = 3;
            break;
        case 3:
            if (!StageUnderWay(state))
                UpdateStage = 4;
            else if (UpdateStageStalled(deviceType))
                FailUpdateStage(deviceType);
            break;
        case 4: {
            if (mouse) {
                MouseUpgradeBusy = false;
                FinishMouseUpgrade();
            } else {
                ReceiverUpgradeBusy = false;
                FinishReceiverUpgrade();
            }
            ChainedUpgrade = false;
            DongleCheckTimer->stop();
            MouseCheckTimer->stop();
            if (!mouse) {
                if (MouseRepairPending == 1) {
                    ChainedUpgrade = true;
                    on_Mouse_clicked();
                } else {
                    SlotContinue(0);
                }
            }
            if (!DongleCheckTimer->isActive() && !MouseCheckTimer->isActive()) EndRun();
            break;
        }
        default:
            break;
    }
}

void FormSetting::FinishReceiverUpgrade() {
    const int state = ReceiverUpgradeState;
    PostMsg* hub = PostMsg::GetInstance();
    // Only the receiver's mark goes: the mouse keeps its own until its stage ends.
    if (state == StageNoImage || state == StageSucceeded) {
        form->toolButton_2->hide();
        hub->EmitSigAddUpdate(1, false);
        if (state == StageSucceeded) ReceiverUpdateAvailable = false;
    }
    UpdateStage = 4;
}

void FormSetting::FinishMouseUpgrade() {
    const int state = MouseUpgradeState;
    PostMsg* hub = PostMsg::GetInstance();
    if (state == StageNoImage || state == StageSucceeded) {
        form->toolButton_3->hide();
        if (state == StageNoImage) form->Receive_2->setText(NoUpdateText);
        hub->EmitSigAddUpdate(0, false);
        if (state == StageSucceeded) MouseUpdateAvailable = false;
    }
    UpdateStage = 4;
}
