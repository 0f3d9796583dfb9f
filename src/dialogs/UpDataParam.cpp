#include "dialogs/UpDataParam.h"

#include <QTimer>

#include "core/ConfigIni.h"
#include "core/CurrentFlashData.h"
#include "core/DeviceAllInfo.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "device/DeviceInfoFile.h"
#include "dialogs/InportFail.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/ProfileFile.h"
#include "hidusb/HIDUsb.h"
#include "platform/Clock.h"
#include "platform/DebugLog.h"
#include "ui_UpDataParam.h"

namespace {
constexpr int kTimerMs = 2500;
constexpr int kAttempts = 12;
constexpr int kAttemptMs = 500;
constexpr int kForcedEndMs = 2000;
constexpr int kImportSettleWaits = 5;

FlashDataMap CurrentImage() {
    std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
    return CurrentFlashData;
}
}  // namespace

UpDataParam::UpDataParam(QWidget* parent)
    : FramedDialog(parent),
      ui(new Ui_UpDataParam),
      WaitTimer(new QTimer(this)),
      LeavesAtStart(DeviceWindow.Leaves()) {
    ui->setupUi(this);
    WaitTimer->setSingleShot(true);
    connect(WaitTimer, SIGNAL(timeout()), this, SLOT(onTimeupDestroy()));
    PostMsg::Connect(SIGNAL(SigMainPageChange()), this, SLOT(SlotDeviceLeft()));
    Parts parts;
    parts.Frame = ui->UpDataParamA;
    parts.Label = ui->label;
    BuildFrame(parts);
}

UpDataParam::~UpDataParam() {
    delete ui;
}

void UpDataParam::StartTimer() {
    LeavesAtStart = DeviceWindow.Leaves();
    WaitTimer->start(kTimerMs);
}

// Nothing is left to wait for: no timer, no import, no notice, and the dialog goes.
void UpDataParam::SlotDeviceLeft() {
    WaitTimer->stop();
    ImportMode = false;
    ForcedMode = false;
    if (isVisible()) CloseWait();
}

bool UpDataParam::DeviceLeft() const {
    return DeviceWindow.Leaves() != LeavesAtStart;
}

void UpDataParam::reject() {}

void UpDataParam::FillTexts(int index) {
    ui->label->setText(LanguageText(MouseInfoTipsTexts, index, "DialogUpdating"));
}

int UpDataParam::ReadProfileFile(const QString& path, FlashDataMap* out) {
    const QString group = "Drive" + QString::number(CurrentDeviceCopy().DriveIndex + 1);
    const ConfigIni* config = ConfigIni::GetInstance();
    bool ok = false;
    int maxGrade = config->GetValue(group, "DPIMaxGrade").toInt(&ok);
    if (!ok) maxGrade = 0;
    return ProfileFile::Read(path, config->GetValue(group, "Sensor"), maxGrade, *out);
}

bool UpDataParam::WaitForPages(bool clearOnSuccess) {
    for (int attempt = 0; attempt < kAttempts && !DeviceLeft(); ++attempt) {
        if (LightPageRefreshed && SensorPageRefreshed && ButtonPageRefreshed) {
            if (clearOnSuccess) {
                LightPageRefreshed = false;
                SensorPageRefreshed = false;
                ButtonPageRefreshed = false;
            }
            return true;
        }
        DelayMsec(kAttemptMs);
    }
    return false;
}

void UpDataParam::RefillPages(const FlashDataMap& image) {
    PostMsg* hub = PostMsg::GetInstance();
    hub->EmitSigUpDataLightUIA(image);
    hub->EmitSigUpDataSensorUIB(image);
    hub->EmitSigUpDataButtonUIC(image);
    hub->EmitSigFormB();
}

void UpDataParam::CloseWait() {
    done(QDialog::Accepted);
}

void UpDataParam::ImportProfile() {
    FlashDataMap image;
    ImportResult = ReadProfileFile(ProfilePath, &image);
    if (ImportResult != 0) {
        // Nothing is updated: the wait goes before the notice says why, in its place.
        CloseWait();
        InportFail notice;
        ModalRunner::RunOver(notice, this);
        return;
    }
    // The device takes the image first: a refused image changes nothing here either, and the wait goes
    // before the notice of a mouse that refused it (or stopped answering) opens.
    if (!ProtocolDataUpdate(&image)) {
        CloseWait();
        ReportRefused();
        return;
    }
    {
        std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
        CurrentFlashData = image;
    }
    RefillPages(image);
    for (int i = 0; i < kImportSettleWaits && !DeviceLeft(); ++i) DelayMsec(kAttemptMs);
    CloseWait();
}

// The pages did not report in time. A device that still answers gets the time-out notice, and no
// new wait starts by itself; one that does not gets the offline notice.
void UpDataParam::ReportNoAnswer() {
    const QByteArray path = CurrentDevicePathCopy();
    if (!path.isEmpty() && UsbFinderC_GetDeviceOnLine(path.constData()))
        ReportTimeOut();
    else
        PostMsg::GetInstance()->EmitSigMouseOffLineo(NoticeOffline);
}

void UpDataParam::ReportTimeOut() {
    SettingsWaitTimedOut = true;
    PostMsg::GetInstance()->EmitSigMouseOffLineo(NoticeTimeOut);
}

void UpDataParam::onTimeupDestroy() {
    PostMsg* hub = PostMsg::GetInstance();
    hub->EmitSigSetver(4);

    if (ForcedMode) {
        ForcedMode = false;
        const bool refreshed = WaitForPages(false);
        if (DeviceLeft()) return;
        Clock::Sleep(kForcedEndMs);
        CloseWait();
        if (!refreshed) ReportNoAnswer();
        return;
    }

    qCDebug(VzDebug) << "z";
    if (ImportMode) {
        ImportMode = false;
        ImportProfile();
        return;
    }

    if (DeviceAnswered) {
        qCDebug(VzDebug) << "v";
        const bool refreshed = WaitForPages(true);
        if (DeviceLeft()) return;
        CloseWait();
        qCDebug(VzDebug) << "vvv";
        if (!refreshed) ReportTimeOut();
        qCDebug(VzDebug) << "vv";
        FlashDataMap cached;
        if (OnlineNow && !ReadDeviceInfoFile(DeviceInfoLoadName(), &cached))
            WriteDeviceInfoFile(DeviceInfoSaveName(), CurrentImage());
        return;
    }

    qCDebug(VzDebug) << "x";
    FlashDataMap cached;
    if (ReadDeviceInfoFile(DeviceInfoLoadName(), &cached)) RefillPages(cached);
    CloseWait();
    hub->EmitSigMouseOffLineo(0);
}
