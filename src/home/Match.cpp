#include "home/Match.h"

#include <QEvent>
#include <QTimer>

#include "core/ConfigIni.h"
#include "core/DeviceAllInfo.h"
#include "core/LanguageTables.h"
#include "core/PictureStyles.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "device/Worker.h"
#include "home/DialogChange.h"
#include "platform/DebugLog.h"
#include "platform/Paths.h"
#include "ui_Match.h"
#include "widgets/DialogFrame.h"

std::atomic<int> PairResult{0};
std::atomic<bool> PairConnectionOpen{false};
QTimer* WiredCheckTimer = nullptr;
QTimer* PairStatusTimer = nullptr;
QTimer* PairTextTimer = nullptr;
int PairTextStep = 0;
QString PairButtonColor;
QString PairPictureFolder;

namespace {
constexpr int kPairStatusKind = 6;
constexpr unsigned char kPairFailed = 2;
constexpr unsigned char kPaired = 3;
}  // namespace

Match::Match(QWidget* parent) : QDialog(parent), ui(new Ui::Match) {
    ui->setupUi(this);
    DialogFrame::ScaleFonts(this);
    PairPictureFolder = Paths::InstallDir() + "/Picture/Setting/";
    setWindowFlags(DialogFrame::kWindowFlags);
    setFixedSize(width(), height());
    setAttribute(Qt::WA_TranslucentBackground);

    ConfigIni* table = ConfigIni::GetInstance();
    const QString labelColour = table->GetStringList("Option", "LabelColor").join(",");
    ui->textEdit->setStyleSheet("#textEdit{border: transparent;background-color: transparent;color: rgb(" +
                                labelColour + ";);}");
    ui->label->setStyleSheet("#label{color: rgb(" + labelColour + ";);}");
    PairButtonColor = table->GetStringList("Option", "ButtonColor").join(",");
    SetButtonPicture("Pair.png");
    ui->toolButton_2->setStyleSheet(
        "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: "
        "rgb(255,255,255);background-image: url(" +
        PairPictureFolder + "Picture.png);}");
    ui->toolButton_3->setStyleSheet(
        "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;background-image: "
        "url(" +
        PairPictureFolder + "PairTitle.png);}");
    ui->CloseButton->setStyleSheet(PictureStyles::ToolButtonSheet(
        PairPictureFolder, "CloseSecondPage.png", "CloseSecondPageHover.png", "CloseSecondPageClick.png"));
    ui->MatchA->setStyleSheet(
        "#MatchA{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(" +
        PairPictureFolder + "BackSecondPage.png); }");
    CurrentPath = QString::fromUtf8(CurrentDeviceCopy().Path);

    WiredCheckTimer = new QTimer(this);
    PairStatusTimer = new QTimer(this);
    PairTextTimer = new QTimer(this);
    connect(WiredCheckTimer, SIGNAL(timeout()), this, SLOT(onUSBTimeupDestroy()));
    connect(PairStatusTimer, SIGNAL(timeout()), this, SLOT(onPairTimeupDestroy()));
    connect(PairTextTimer, SIGNAL(timeout()), this, SLOT(onTextTimeupDestroy()));
    WiredCheckTimer->setInterval(100);
    PairStatusTimer->setInterval(1000);
    PairTextTimer->setInterval(500);

    PostMsg::Connect(SIGNAL(SigTimerStop()), this, SLOT(SlotStopTimer()));
    PostMsg::Connect(SIGNAL(SigButtonEnable(int)), this, SLOT(SlotButtonenable(int)));
    connect(ui->CloseButton, SIGNAL(clicked()), this, SLOT(WindowClosedSet()));
    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    SlotAllLanguage(CurrentLanguage);
    ui->label->hide();
    ui->textEdit->hide();
}

Match::~Match() {
    // Destroyed while pairing runs (the program ends): leave nothing behind.
    if (PairConnectionOpen) EndPairing(3);
    WiredCheckTimer = PairStatusTimer = PairTextTimer = nullptr;
    delete ui;
}

void Match::SetButtonPicture(const QString& picture) {
    ui->MatchButton->setStyleSheet(
        "QPushButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(" +
        PairButtonColor + ";);background-image: url(" + PairPictureFolder + picture + ");}");
}

void Match::SlotAllLanguage(int index) {
    ui->label->setText(LanguageText(MouseHomeTexts, index, "NoPair"));
    ui->textEdit->setText(LanguageText(MousePairTexts, index, "DialogPairTips"));
    StartPairText = LanguageText(MousePairTexts, index, "StartPair");
    PairingText = LanguageText(MousePairTexts, index, "Pairing");
    PairFailText = LanguageText(MousePairTexts, index, "PairFail");
    PairSuccessText = LanguageText(MousePairTexts, index, "PairSuccess");
    switch (PairResult) {
        case 0:
            ui->MatchButton->setText(StartPairText);
            break;
        case 2:
            ui->MatchButton->setText(PairSuccessText);
            break;
        case 3:
            ui->MatchButton->setText(PairFailText);
            break;
        default:
            break;
    }
}

void Match::InitPair() {
    ui->MatchButton->setShortcut(QKeySequence(Qt::Key_Space));
    PairTextStep = 0;
    PairResult = 0;
    ui->MatchButton->setEnabled(true);
    SetButtonPicture("Pair.png");
    ui->MatchButton->setText(StartPairText);

    if (DeviceWindow.Shown()) {
        const DeviceAllInfo current = CurrentDeviceCopy();
        PairPath = CurrentPath;
        PairVid = current.Vid;
        PairPid = current.Pid;
        PairOnCable = current.IsUsb;
    } else if (PairCurrentDevice) {
        PairPath = QString::fromUtf8(PairTargetDevice.Path);
        PairVid = PairTargetDevice.Vid;
        PairPid = PairTargetDevice.Pid;
        PairOnCable = PairTargetDevice.IsUsb;
    } else if (!FoundDevices.isEmpty()) {
        const DeviceAllInfo& first = FoundDevices.first();
        PairPath = QString::fromUtf8(first.Path);
        PairVid = first.Vid;
        PairPid = first.Pid;
        PairOnCable = first.IsUsb;
    } else {
        // Nothing to pair with: pairing stays disabled.
        PairPath.clear();
        PairOnCable = false;
    }
    PairCid = quint8(ConfigIni::GetInstance()->GetValue("Option", "CID").toInt() & 0xFF);
    WiredCheckTimer->start(100);
}

void Match::onUSBTimeupDestroy() {
    if (!PairConnectionOpen) {
        PairAllowed = !PairOnCable && !PairPath.isEmpty();
        ui->label->setVisible(PairOnCable);
        ui->textEdit->setVisible(!PairOnCable);
    }
    ui->MatchButton->setEnabled(PairAllowed && PairResult != 2);
    if (!PairAllowed)
        ui->MatchButton->setStyleSheet(
            "QPushButton{border:0px;background-position:center;background-repeat:no-repeat;color: "
            "rgb(0,0,0);background-image: url(" +
            PairPictureFolder + "Pair.png);}");
}

void Match::on_MatchButton_clicked() {
    if (PairResult == 2 || PairResult == 1 || !PairAllowed) return;
    PairResult = 1;
    PairTextTimer->start(500);
    ui->MatchButton->setText(PairingText);
    SetButtonPicture("Pair.png");
    DeviceWindow.Pause();
    PairConnectionOpen = false;
    StartPair();
}

void Match::StartPair() {
    qCDebug(VzDebug) << "Enter";
    PairConnectionOpen = true;
    PairStatusTimer->start(1000);
    const QByteArray path = PairPath.toUtf8();
    UsbServerC_Start(path.constData(), path.constData(), PairStatusCallback);
    UsbServer_EnterDonglePairOnlyCid(PairCid);
}

void Match::onPairTimeupDestroy() {
    UsbServer_ReadDonglePairStatus();
    int count = 5;
    const char** paths = UsbFinderC_FindHidDevicesByDefaultDeviceId(PairVid.toLatin1().constData(),
                                                                    PairPid.toLatin1().constData(), &count);
    const QByteArray path = PairPath.toUtf8();
    bool present = false;
    for (int j = 0; paths && j < count && !present; ++j) present = path == paths[j];
    if (!present && PairConnectionOpen) EndPairing(3);
}

void Match::onTextTimeupDestroy() {
    if (PairTextStep == 4) PairTextStep = 0;
    ui->MatchButton->setText(PairingText + QString(PairTextStep, QLatin1Char('.')));
    ++PairTextStep;
}

void Match::SlotStopTimer() {
    PairStatusTimer->stop();
    PairTextTimer->stop();
}

void Match::SlotButtonenable(int index) {
    if (index == 1)
        EndPairing(2);
    else if (index == 0)
        EndPairing(3);
}

void Match::EndPairing(int result) {
    PairStatusTimer->stop();
    PairTextTimer->stop();
    if (PairConnectionOpen) {
        PairConnectionOpen = false;
        UsbServer_Exit();
    }
    PairResult = result;
    DeviceWindow.Resume();
    if (result == 2) {
        qCDebug(VzDebug) << "success";
        ui->MatchButton->setText(PairSuccessText);
        SetButtonPicture("PairSuccess.png");
        ui->MatchButton->setEnabled(false);
    } else {
        qCDebug(VzDebug) << "fail";
        ui->MatchButton->setText(PairFailText);
        SetButtonPicture("PairFail.png");
    }
}

void Match::WindowClosedSet() {
    if (PairConnectionOpen) return;
    // Back to the hot-plug handling of the page that opened the dialog.
    StartUsbChanged(DeviceWindow.Shown() ? DeviceUsbChangedCallback : HomeUsbChangedCallback, 600);
    WiredCheckTimer->stop();
    PairStatusTimer->stop();
    PairTextTimer->stop();
    done(QDialog::Rejected);
}

void Match::reject() {
    WindowClosedSet();
}

void PairStatusCallback(const unsigned char* header, int headerLength, const unsigned char* payload,
                        int payloadLength) {
    const int kind = headerLength >= 2 ? header[1] : 0;
    qCDebug(VzDebug) << "in2" << kind;
    if (kind != kPairStatusKind || payloadLength < 1 || PairResult != 1) return;
    PostMsg* hub = PostMsg::GetInstance();
    if (payload[0] == kPairFailed) {
        hub->EmitSigTimerStop();
        hub->EmitSigButtonEnable(0);
    } else if (payload[0] == kPaired) {
        hub->EmitSigTimerStop();
        hub->EmitSigButtonEnable(1);
    }
}
