// The firmware dialog, the update check, the update roads against the simulated receiver and mouse, and
// the repair of an interrupted upgrade.
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include "DeviceFixture.h"
#include "FirmwareFixture.h"
#include "LanguageFixture.h"
#include "core/PostMsg.h"
#include "dialogs/ModalRunner.h"
#include "firmware/FailRecord.h"
#include "firmware/FirmwareImages.h"
#include "firmware/UpdateStages.h"
#include "firmware/UpgradeState.h"
#include "home/DialogChange.h"
#include "settings/FirmwareOffer.h"
#include "settings/FormSetting.h"
#include "settings/UpDateRepair.h"
#include "ui_FormSetting.h"

using LanguageFixture::Text;

namespace {
const char* const kCableSet =
    R"({"devices": [{"name": "receiver", "kind": "receiver", "class": 8, "version": "0x0105",
        "receiverId": [18, 52, 86], "mouse": "mouse"},
       {"name": "mouse", "kind": "mouse", "cable": true, "plugged": true, "version": "0x0112"}]})";
constexpr quint16 kCidMid = (FirmwareFixture::kMid << 8) | FirmwareFixture::kCid;

DeviceAllInfo ReceiverEntry() {
    DeviceAllInfo d;
    d.Path = HidSim::PathOf("receiver").toLocal8Bit();
    d.Type = kTypeReceiver8K;
    d.CidMidWord = kCidMid;
    d.Online = true;
    d.Version = "v1.05";
    d.ReceiverId = {18, 52, 86};
    return d;
}

DeviceAllInfo CableEntry() {
    DeviceAllInfo d;
    d.Path = HidSim::PathOf("mouse").toLocal8Bit();
    d.Type = 2;
    d.CidMidWord = kCidMid;
    d.Online = true;
    d.IsUsb = true;
    d.Version = "v1.12";
    d.MouseVersion = "v1.12";
    return d;
}

QLabel* Status() {
    return RepairDialog->findChild<QLabel*>("ToolText_2");
}
QToolButton* Button(const char* name) {
    return RepairDialog->findChild<QToolButton*>(name);
}
QString FailRecord() {
    return UpgradeFailRecord();
}
QString Marker() {
    return QDir::homePath() + "/AppData/Local/Vorlant ZEMB/Exception/UpDateLog.txt";
}
}  // namespace

class TstFirmwareUpdate : public QObject {
    Q_OBJECT
    QStringList progress_;
    QList<bool> repairButton_;

    // Ticks the active stage timer until the run ends (the library reports on its own thread).
    void RunStages(FormSetting& page, bool stalls = false) {
        for (int i = 0; i < 400; ++i) {
            if (page.DongleCheckTimer->isActive())
                page.onDongleCheckTimer();
            else if (page.MouseCheckTimer->isActive())
                page.onMouseCheckTimer();
            else
                break;
            QTest::qWait(5);
            if (stalls && i == 100) DeviceFixture::TestClock().Advance(31000);
        }
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase() {
        RegisterDeviceMetaTypes();
        using LanguageFixture::Put;
        for (const char* key :
             {"NoDevice", "SameDevice", "NoRecieve", "NoUSB", "Error", "MultiMouse", "MultiDongle",
              "ReadyUpdate", "WarnUpdate", "NotDevice", "ErrorFile", "WiredMode"})
            Put(MouseHomeTexts, key);
        for (const char* key : {"Upgrade", "DialogUpgradeStart", "DialogUpgradeFail", "DialogUpgradeSuccess"})
            Put(MouseUpdateTexts, key);
        Put(KeyboardUpdateTexts, "newTips");
        Put(MouseCommonTexts, "OK");
        Put(MouseCommonTexts, "Cancel");
        PostMsg* hub = PostMsg::GetInstance();
        connect(hub, &PostMsg::SigProgress, this,
                [this](int value, int kind) { progress_ << QString("%1,%2").arg(value).arg(kind); });
        connect(hub, &PostMsg::SigUpDateButton, this, [this](bool hide) { repairButton_ << hide; });
    }

    void init() {
        DeviceFixture::Init();
        FirmwareFixture::UseInstallation();
        FirmwareFixture::PutPair(0x0106, 0x0113);
        QVERIFY(HidSim::LoadDescription(kCableSet));
        QFile::remove(Marker());
        DeviceWindow.Enter();
        ReceiverUpgradeState = MouseUpgradeState = 0;
        MouseUpdateAvailable = ReceiverUpdateAvailable = false;
        progress_.clear();
        repairButton_.clear();
        ModalRunner::SetScript([](QDialog&) { return int(QDialog::Rejected); });
        if (RepairDialog) {
            RepairDialog->ResetState();
            RepairDialog->hide();
        }
    }

    void cleanup() {
        ModalRunner::SetScript(nullptr);
        UsbServer_Exit();
        HidSim::SetTiming(1, 1);
    }

    void cleanupTestCase() {
        FirmwareFixture::Restore();
        Clock::Set(nullptr);
    }

    void progressCodes_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("leftShown");
        QTest::addColumn<bool>("rightShown");
        QTest::addColumn<bool>("closable");
        QTest::newRow("0 progress") << 0 << Text("WarnUpdate", 0) << 37 << false << false << false;
        QTest::newRow("1 failure") << 1 << Text("DialogUpgradeFail", 0) << 37 << true << true << true;
        QTest::newRow("2 success") << 2 << Text("DialogUpgradeSuccess", 0) << 100 << true << true << true;
        QTest::newRow("4 right hidden, bar reset")
            << 4 << Text("WarnUpdate", 0) << 0 << false << false << false;
        QTest::newRow("5 failure half way")
            << 5 << Text("DialogUpgradeFail", 0) << 50 << true << true << true;
        QTest::newRow("6 failure, left kept hidden")
            << 6 << Text("DialogUpgradeFail", 0) << 37 << false << true << true;
        QTest::newRow("7 nothing") << 7 << Text("WarnUpdate", 0) << 37 << false << false << false;
    }
    void progressCodes() {
        QFETCH(int, code);
        QFETCH(QString, status);
        QFETCH(int, value);
        QFETCH(bool, leftShown);
        QFETCH(bool, rightShown);
        QFETCH(bool, closable);
        UpDateRepair dialog;
        dialog.ResetState();
        dialog.show();
        dialog.ShowUpgradingState();
        dialog.SlotProgress(37, 0);
        dialog.SlotProgress(37, code);
        QCOMPARE(dialog.findChild<QLabel*>("ToolText_2")->text(), status);
        QCOMPARE(dialog.findChild<QProgressBar*>("progressBar_2")->value(), value);
        QCOMPARE(dialog.findChild<QToolButton*>("NewHong_2")->isVisible(), leftShown);
        QCOMPARE(dialog.findChild<QToolButton*>("NewHong")->isVisible(), rightShown);
        // Every road out: refused while flashing, taken once an outcome is shown.
        dialog.reject();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        dialog.close();
        QCOMPARE(dialog.isVisible(), !closable);
    }

    void closingAfterARun_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("devicePage");
        QTest::addColumn<int>("newVersion");
        QTest::addColumn<int>("home");
        QTest::newRow("success") << 2 << 1 << 1 << 0;
        QTest::newRow("failure on the settings page") << 1 << 1 << 0 << 1;
        QTest::newRow("failure on the home page") << 1 << 0 << 0 << 0;
    }
    void closingAfterARun() {
        QFETCH(int, code);
        QFETCH(int, devicePage);
        QFETCH(int, newVersion);
        QFETCH(int, home);
        devicePage ? DeviceWindow.Enter() : DeviceWindow.Leave();
        UpDateRepair dialog;
        QSignalSpy setNew(PostMsg::GetInstance(), &PostMsg::SigSetNewVer);
        QSignalSpy main(PostMsg::GetInstance(), &PostMsg::SigChangeMainDialog);
        dialog.show();
        dialog.ShowUpgradingState();
        RepairRunning = true;
        dialog.SlotProgress(40, 0);
        dialog.SlotProgress(0, code);
        QVERIFY(dialog.isVisible());
        dialog.findChild<QToolButton*>("NewHong_2")->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(setNew.count(), newVersion);
        QCOMPARE(main.count(), home);
        QVERIFY(!RepairRunning);
    }

    void check_data() {
        QTest::addColumn<QString>("list");  // r receiver, c cable mouse, x cable mouse of another MID
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("images");  // "both", "receiver", "none"
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("receiverClass");

        QTest::newRow("receiver and cable, both images") << "rc"
                                                         << ""
                                                         << "both" << true << "" << 2 << 8;
        QTest::newRow("receiver image only") << "rc"
                                             << ""
                                             << "receiver" << true << "" << 1 << 8;
        QTest::newRow("no image") << "rc"
                                  << ""
                                  << "none" << false << Text("newTips", 0) << 1 << 8;
        QTest::newRow("two receivers") << "rr"
                                       << ""
                                       << "both" << false << Text("NoUSB", 0) << 1 << 0;
        QTest::newRow("other models") << "rx"
                                      << ""
                                      << "both" << false << Text("NoRecieve", 0) << 1 << 0;
        QTest::newRow("one receiver, no record") << "r"
                                                 << ""
                                                 << "both" << false << Text("NoUSB", 0) << 1 << 0;
        QTest::newRow("three-part record ignored") << "r"
                                                   << "210,8,35"
                                                   << "both" << false << Text("NoUSB", 0) << 1 << 0;
        QTest::newRow("mouse record, no mouse in boot mode")
            << "r"
            << "210,8,35,6"
            << "both" << false << Text("NoDevice", 0) << 1 << 8;
        QTest::newRow("mouse record, no image: no library call")
            << "r"
            << "210,8,35,6"
            << "none" << false << Text("NoDevice", 0) << 1 << 8;
        QTest::newRow("mouse record, other CID") << "r"
                                                 << "210,8,36,6"
                                                 << "both" << false << Text("Error", 0) << 1 << 8;
        QTest::newRow("no entry") << ""
                                  << ""
                                  << "both" << false << Text("Error", 0) << 1 << 0;
        QTest::newRow("three receivers and a mouse") << "rrrc"
                                                     << ""
                                                     << "both" << false << Text("MultiDongle", 0) << 1 << 0;
        QTest::newRow("two of each") << "rrcc"
                                     << ""
                                     << "both" << false << Text("MultiMouse", 0) << 1 << 0;
    }
    void check() {
        QFETCH(QString, list);
        QFETCH(QString, record);
        QFETCH(QString, images);
        QFETCH(bool, result);
        QFETCH(QString, status);
        QFETCH(int, mode);
        QFETCH(int, receiverClass);
        FirmwareFixture::UseInstallation();
        if (images == "both") FirmwareFixture::PutPair(0x0106, 0x0113);
        if (images == "receiver")
            FirmwareFixture::PutFile("r.bin", FirmwareFixture::Image(211, 0x0106, "ZEMB_D8"));
        if (!record.isEmpty())
            RegistryStore(RegistryStore::DriveTestKey()).SetValue("UpdateFailInfo", record);
        QList<DeviceAllInfo> entries;
        for (const QChar c : list) {
            DeviceAllInfo e = c == 'r' ? ReceiverEntry() : CableEntry();
            if (c == 'x') e.CidMidWord = (7 << 8) | 35;
            entries << e;
        }
        DevicePageDevices = entries;
        {
            std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
            CurrentDevice = list.contains('c') ? CableEntry() : ReceiverEntry();
        }
        UpgradeMode = 1;
        FormSetting page;
        page.Form()->label_5->setText("v1.05");
        page.Form()->label_7->setText("v1.12");
        HidSim::ClearCallLog();
        QCOMPARE(page.ChechIsUpDate(), result);
        if (!result) QCOMPARE(Status()->text(), status);
        QCOMPARE(UpgradeMode.load(), mode);
        QCOMPARE(UpgradeReceiverClass.load(), receiverClass);
        QCOMPARE(page.NoNewFirmware, images == "none" && list == "rc");
        if (images == "none") QVERIFY(HidSim::CallLog().filter("UsbUpgradeC_FindBootDevices").isEmpty());
    }

    void upgradeRoads_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("outcome");  // last SigProgress
        QTest::addColumn<QString>("seen");     // a progress value the run showed
        QTest::addColumn<int>("receiverVersion");
        QTest::addColumn<int>("mouseVersion");
        QTest::addColumn<bool>("receiverBoot");
        QTest::addColumn<bool>("mouseBoot");
        QTest::addColumn<QString>("record");
        QTest::addColumn<bool>("marker");

        QTest::newRow("receiver then mouse") << ""
                                             << "0,2"
                                             << "90,0" << 0x0106 << 0x0113 << false << false << "" << false;
        QTest::newRow("early final status") << "early"
                                            << "0,2"
                                            << "50,0" << 0x0106 << 0x0113 << false << false << "" << false;
        QTest::newRow("receiver fails at 60")
            << "receiver:fail:60"
            << "0,1"
            << "30,0" << 0x0105 << 0x0112 << true << false << "211,8,35,6" << true;
        QTest::newRow("mouse fails at 40")
            << "mouse:fail:40"
            << "0,1"
            << "70,0" << 0x0106 << 0x0112 << false << true << "210,8,35,6" << true;
        QTest::newRow("receiver fails at 0")
            << "receiver:fail:0"
            << "0,1"
            << "0,0" << 0x0105 << 0x0112 << true << false << "211,8,35,6" << true;
        QTest::newRow("receiver start refused") << "receiver:refuse"
                                                << "0,1"
                                                << "" << 0x0105 << 0x0112 << false << false << "" << false;
        QTest::newRow("mouse start refused") << "mouse:refuse"
                                             << "0,1"
                                             << "50,0" << 0x0106 << 0x0112 << false << false << "" << false;
        QTest::newRow("mouse goes silent at 30")
            << "mouse:stall:30"
            << "0,1"
            << "65,0" << 0x0106 << 0x0112 << false << true << "210,8,35,6" << true;
    }
    void upgradeRoads() {
        QFETCH(QString, road);
        QFETCH(QString, outcome);
        QFETCH(QString, seen);
        QFETCH(int, receiverVersion);
        QFETCH(int, mouseVersion);
        QFETCH(bool, receiverBoot);
        QFETCH(bool, mouseBoot);
        QFETCH(QString, record);
        QFETCH(bool, marker);
        const QStringList how = road.split(':');
        if (road == "early") HidSim::SetTiming(0, 1);
        if (how.value(1) == "fail") HidSim::FailUpgradeAt(how[0], how[2].toInt());
        if (how.value(1) == "refuse") HidSim::FailNext(how[0], 1);
        if (how.value(1) == "stall") HidSim::StallUpgradeAt(how[0], how[2].toInt());
        if (how.value(1) == "refuse" && how[0] == "mouse") {
            // The refusal must hit the start, not the answers before it.
            HidSim::FailNext(how[0], 0);
        }

        DevicePageDevices = {CableEntry(), ReceiverEntry()};  // enumeration lists the cable first
        {
            std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
            CurrentDevice = CableEntry();
        }
        FormSetting page;
        page.SetVer(0);
        QVERIFY(RepairDialog->isVisible());
        QCOMPARE(Status()->text(), Text("ReadyUpdate", 0));
        QCOMPARE(UpgradeMode.load(), 2);

        bool refuseMouse = how.value(1) == "refuse" && how[0] == "mouse";
        if (refuseMouse) {
            // Arm the refusal once the receiver stage has ended.
            connect(PostMsg::GetInstance(), &PostMsg::SigLabelText, &page, [](int index, QString) {
                if (index == 0) HidSim::FailNext("mouse", 1);
            });
        }
        Button("NewHong_2")->click();
        QVERIFY(RepairDialog->Flashing() || !progress_.isEmpty());
        RunStages(page, how.value(1) == "stall");

        QVERIFY(!progress_.isEmpty());
        QCOMPARE(progress_.last(), outcome);
        if (!seen.isEmpty()) QVERIFY2(progress_.contains(seen), qPrintable(progress_.join(' ')));
        QCOMPARE(int(HidSim::Version("receiver")), receiverVersion);
        QCOMPARE(int(HidSim::Version("mouse")), mouseVersion);
        QCOMPARE(HidSim::IsBootMode("receiver"), receiverBoot);
        QCOMPARE(HidSim::IsBootMode("mouse"), mouseBoot);
        QCOMPARE(FailRecord(), record);
        QCOMPARE(QFile::exists(Marker()), marker);
        QVERIFY(UpdateIdle);
        QVERIFY(!UpdateStepRunning);
        if (outcome == "0,2") {
            QTRY_COMPARE(page.Form()->label_5->text(), QString("v1.06"));
            QTRY_COMPARE(page.Form()->label_7->text(), QString("v1.13"));
            QCOMPARE(RegistryStore(RegistryStore::DriveTestKey()).Value("MouseVer356").toString(),
                     QString("v1.13"));
        }
        // The outcome is readable and the dialog closes.
        QVERIFY(!RepairDialog->Flashing());
        Button("NewHong")->click();
        QVERIFY(!RepairDialog->isVisible());
    }

    void successAndStallTimeOut_data() {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("time-out, then the success") << "timeout first"
                                                    << "0,1";
        QTest::newRow("success, then the time-out") << "success first"
                                                    << "0,2";
        QTest::newRow("time-out while the success is recorded") << "inside"
                                                                << "0,2";
    }
    // The library's success and the GUI thread's stall time-out both reach one stage: the first to claim
    // it acts, the other does nothing.
    void successAndStallTimeOut() {
        QFETCH(QString, order);
        QFETCH(QString, outcome);
        FirmwareFixture::PutPair(0x0106, 0x0112);  // the receiver alone
        QVERIFY(HidSim::StallUpgradeAt("receiver", 30));
        DevicePageDevices = {CableEntry(), ReceiverEntry()};
        {
            std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
            CurrentDevice = CableEntry();
        }
        FormSetting page;
        page.SetVer(0);
        QCOMPARE(UpgradeMode.load(), 1);
        Button("NewHong_2")->click();
        QTRY_VERIFY(page.DongleCheckTimer->isActive());
        while (page.UpdateStage < 3) page.onDongleCheckTimer();
        QTRY_VERIFY(progress_.contains("30,0"));
        QCOMPARE(ReceiverUpgradeState.load(), int(StageRunning));

        const unsigned char success[3] = {7, 2, 1};
        const auto timeOut = [&page] {
            DeviceFixture::TestClock().Advance(31000);
            page.onDongleCheckTimer();
        };
        if (order == "timeout first") {
            timeOut();
            ReceiverUpgradeCallback(success);
        } else if (order == "success first") {
            ReceiverUpgradeCallback(success);
            timeOut();
        } else {
            bool once = false;
            connect(
                PostMsg::GetInstance(), &PostMsg::SigLabelText, &page,
                [&](int, QString) {
                    if (once) return;
                    once = true;
                    timeOut();
                },
                Qt::DirectConnection);
            ReceiverUpgradeCallback(success);
            QVERIFY(once);
        }
        RunStages(page);

        const QString other = outcome == "0,2" ? "0,1" : "0,2";
        QVERIFY2(progress_.contains(outcome) && !progress_.contains(other), qPrintable(progress_.join(' ')));
        QCOMPARE(ReceiverUpgradeState.load(), int(outcome == "0,2" ? StageSucceeded : StageFailed));
        QCOMPARE(FailRecord(), outcome == "0,2" ? QString() : QString("211,8,35,6"));
        QCOMPARE(page.Form()->label_5->text(), QString(outcome == "0,2" ? "v1.06" : "v1.05"));
        QCOMPARE(Status()->text(), Text(outcome == "0,2" ? "DialogUpgradeSuccess" : "DialogUpgradeFail", 0));
        QVERIFY(UpdateIdle);
    }

    void homeOffer_data() {
        QTest::addColumn<QString>("mouseVersion");
        QTest::addColumn<int>("receiverImage");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("handled");
        QTest::addColumn<QStringList>("dialogs");
        QTest::addColumn<int>("receiverAfter");
        QTest::newRow("receiver only, confirmed")
            << "v1.13" << 0x0106 << true << true << QStringList{"ContainReset", "UpDateRepair"} << 0x0106;
        QTest::newRow("receiver only, declined")
            << "v1.13" << 0x0106 << false << true << QStringList{"ContainReset"} << 0x0105;
        QTest::newRow("mouse only") << "v1.12" << 0x0105 << true << true << QStringList{"UpDateWarning"}
                                    << 0x0105;
        QTest::newRow("both: the caller pairs")
            << "v1.12" << 0x0106 << true << false << QStringList{} << 0x0105;
        QTest::newRow("neither") << "v1.13" << 0x0105 << true << false << QStringList{} << 0x0105;
    }
    void homeOffer() {
        QFETCH(QString, mouseVersion);
        QFETCH(int, receiverImage);
        QFETCH(bool, confirm);
        QFETCH(bool, handled);
        QFETCH(QStringList, dialogs);
        QFETCH(int, receiverAfter);
        FirmwareFixture::UseInstallation();
        FirmwareFixture::PutPair(receiverImage, 0x0113);
        DeviceWindow.Leave();
        QStringList ran;
        ModalRunner::SetScript([&](QDialog& dialog) {
            ran << dialog.objectName();
            if (dialog.objectName() == "ContainReset" && confirm)
                dialog.findChild<QToolButton*>("OK")->click();
            if (dialog.objectName() == "UpDateRepair") {
                auto& repair = static_cast<UpDateRepair&>(dialog);
                if (!QTest::qWaitFor([&] { return !repair.Flashing(); }, 60000)) return 0;
                dialog.findChild<QToolButton*>("NewHong_2")->click();
            }
            return 0;
        });
        QWidget window;
        QCOMPARE(RunFirmwareOffer(&window, ReceiverEntry(), mouseVersion), handled);
        QCOMPARE(ran, dialogs);
        QCOMPARE(int(HidSim::Version("receiver")), receiverAfter);
        if (dialogs.contains("UpDateRepair")) {
            // The dialog shows its outcome on the first of the stage's end signals; the rest follow.
            QTRY_COMPARE(progress_.value(progress_.size() - 1), QString("0,2"));
            QTRY_VERIFY(UpdateIdle);
            QCOMPARE(FailRecord(), QString());
        }
    }

    void repairPreCheck_data() {
        QTest::addColumn<QString>("waiting");  // devices in boot mode: r receiver, m mouse (on its cable)
        QTest::addColumn<QString>("found");    // listed: r receiver, s receiver of MID 9, c cable mouse
        QTest::addColumn<QString>("record");
        QTest::addColumn<bool>("images");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("status");  // on a refusal
        QTest::addColumn<QString>("recordAfter");

        // What waits in boot mode decides, whatever the record says.
        QTest::newRow("mouse waits, no record") << "m"
                                                << "r"
                                                << "" << true << true << ""
                                                << "";
        QTest::newRow("receiver waits, the record names the mouse") << "r"
                                                                    << "c"
                                                                    << "210,8,35,6" << true << true << ""
                                                                    << "210,8,35,6";
        QTest::newRow("both wait, the record names the receiver") << "rm"
                                                                  << ""
                                                                  << "211,8,35,6" << true << true << ""
                                                                  << "211,8,35,6";
        QTest::newRow("a damaged record and a device waiting") << "m"
                                                               << ""
                                                               << "210,8,x5,6" << true << true << ""
                                                               << "210,8,x5,6";
        QTest::newRow("two mice of one model wait") << "mm"
                                                    << ""
                                                    << "" << true << false << Text("SameDevice", 0) << "";
        // Nothing waits: a record the repair cannot use goes; one it can use says what to connect.
        QTest::newRow("no record") << ""
                                   << "r"
                                   << "" << true << false << Text("NotDevice", 0) << "";
        QTest::newRow("three fields") << ""
                                      << "r"
                                      << "210,8,35" << true << false << Text("NotDevice", 0) << "";
        QTest::newRow("MID of no model") << ""
                                         << "s"
                                         << "210,8,35,9" << true << false << Text("NotDevice", 0) << "";
        QTest::newRow("mouse record, no receiver listed: connect it")
            << ""
            << ""
            << "210,8,35,6" << true << false << Text("NoRecieve", 0) << "210,8,35,6";
        QTest::newRow("mouse record, its receiver listed: its cable")
            << ""
            << "r"
            << "210,8,35,6" << true << false << Text("NoUSB", 0) << "210,8,35,6";
        QTest::newRow("receiver record: connect the receiver")
            << ""
            << "c"
            << "211,08,35,6" << true << false << Text("NoRecieve", 0) << "211,08,35,6";
        QTest::newRow("no image: no library call")
            << "m"
            << "r"
            << "210,8,35,6" << false << false << Text("ErrorFile", 0) << "210,8,35,6";
    }
    void repairPreCheck() {
        QFETCH(QString, waiting);
        QFETCH(QString, found);
        QFETCH(QString, record);
        QFETCH(bool, images);
        QFETCH(bool, result);
        QFETCH(QString, status);
        QFETCH(QString, recordAfter);
        const auto boot = [&](const char* name, const char* what) {
            return QByteArray(name) + (waiting.contains(what) ? "true" : "false");
        };
        QByteArray devices =
            R"({"devices": [{"name": "receiver", "kind": "receiver", "class": 8, "mouse": "mouse", )" +
            boot(R"("bootMode": )", "r") +
            R"(}, {"name": "mouse", "kind": "mouse", "cable": true, "plugged": true, )" +
            boot(R"("bootMode": )", "m") + "}";
        if (waiting == "mm")
            devices +=
                R"(, {"name": "twin", "kind": "mouse", "cable": true, "plugged": true, "bootMode": true})";
        QVERIFY(HidSim::LoadDescription(devices + "]}"));
        FirmwareFixture::UseInstallation();
        if (images) FirmwareFixture::PutPair(0x0106, 0x0113);
        if (!record.isEmpty())
            RegistryStore(RegistryStore::DriveTestKey()).SetValue("UpdateFailInfo", record);
        FoundDevices.clear();
        for (const QChar c : found) {
            DeviceAllInfo e = c == 'c' ? CableEntry() : ReceiverEntry();
            if (c == 's') e.CidMidWord = (9 << 8) | 35;
            FoundDevices << e;
        }
        FoundDevicesMirror = FoundDevices;
        UpDateRepair dialog;
        dialog.ResetState();
        dialog.SetStatusText("before");
        HidSim::ClearCallLog();
        QCOMPARE(dialog.CheckRepairPossible(), result);
        QCOMPARE(dialog.FirmwareFound, result);
        if (!result) {
            QCOMPARE(dialog.findChild<QLabel*>("ToolText_2")->text(), status);
            // Every refusal ends in a closing OK, never in an Upgrade that does nothing.
            QCOMPARE(dialog.findChild<QToolButton*>("NewHong_2")->text(), Text("OK", 0));
        }
        QCOMPARE(FailRecord(), recordAfter);
        // The home page drops its entry when nothing is left to repair.
        QCOMPARE(!repairButton_.isEmpty() && repairButton_.last(), status == Text("NotDevice", 0));
        if (!images) QVERIFY(HidSim::CallLog().filter("UsbUpgradeC_FindBootDevices").isEmpty());
        FoundDevices.clear();
        FoundDevicesMirror.clear();
    }

    void repairOffered_data() {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("found");  // r receiver whose mouse answers, s the same with its mouse
                                             // silent, c mouse on its cable, 4 a 4K receiver
        QTest::addColumn<bool>("running");  // a repair runs
        QTest::addColumn<bool>("offered");  // the entry shows and the record stays

        QTest::newRow("no record") << ""
                                   << "" << false << false;
        QTest::newRow("three fields") << "210,8,35"
                                      << "" << false << false;
        QTest::newRow("not numbers") << "210,8,35,6x"
                                     << "" << false << false;
        QTest::newRow("signed number") << "210,8,35,+6"
                                       << "" << false << false;
        QTest::newRow("other device type") << "212,8,35,6"
                                           << "" << false << false;
        QTest::newRow("model the table does not know") << "210,8,35,9"
                                                       << "" << false << false;
        QTest::newRow("CID of another maker") << "210,8,36,6"
                                              << "" << false << false;
        QTest::newRow("receiver without a class") << "211,0,35,6"
                                                  << "c" << false << false;
        QTest::newRow("mouse, nothing found: connect") << "210,8,35,6"
                                                       << "" << false << true;
        QTest::newRow("mouse silent behind its receiver") << "210,8,35,6"
                                                          << "s" << false << true;
        QTest::newRow("mouse of no class silent") << "210,0,35,6"
                                                  << "s" << false << true;
        QTest::newRow("mouse answers through its receiver") << "210,8,35,6"
                                                            << "r" << false << false;
        QTest::newRow("mouse answers on its cable") << "210,8,35,6"
                                                    << "sc" << false << false;
        QTest::newRow("mouse answers while a repair runs") << "210,8,35,6"
                                                           << "r" << true << true;
        QTest::newRow("receiver record, its mouse on the cable") << "211,8,35,6"
                                                                 << "c" << false << true;
        QTest::newRow("receiver answers") << "211,8,35,6"
                                          << "sc" << false << false;
        QTest::newRow("a receiver of another class answers") << "211,8,35,6"
                                                             << "4c" << false << true;
    }
    // The home page offers the repair only while it can start or tell what to connect.
    void repairOffered() {
        QFETCH(QString, record);
        QFETCH(QString, found);
        QFETCH(bool, running);
        QFETCH(bool, offered);
        if (!record.isEmpty())
            RegistryStore(RegistryStore::DriveTestKey()).SetValue("UpdateFailInfo", record);
        QList<DeviceAllInfo> devices;
        for (const QChar c : found) {
            DeviceAllInfo e = c == 'c' ? CableEntry() : ReceiverEntry();
            e.Online = c != 's';
            if (c == '4') e.Type = kTypeReceiver4K;
            devices << e;
        }
        RepairRunning = running;
        const bool result = DialogChange::RepairOffered(devices);
        RepairRunning = false;
        QCOMPARE(result, offered);
        QCOMPARE(FailRecord(), offered ? record : QString());
    }

    void repairAfterAFailedMouseUpgrade() {
        QVERIFY(HidSim::FailUpgradeAt("mouse", 40));
        DevicePageDevices = {CableEntry(), ReceiverEntry()};  // enumeration lists the cable first
        {
            std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
            CurrentDevice = CableEntry();
        }
        FormSetting page;
        page.SetVer(0);
        Button("NewHong_2")->click();
        RunStages(page);
        QCOMPARE(FailRecord(), QString("210,8,35,6"));
        QVERIFY(HidSim::IsBootMode("mouse"));
        Button("NewHong_2")->click();
        QVERIFY(!RepairDialog->isVisible());

        // From the home page: the receiver is found, the mouse waits in boot mode.
        DeviceWindow.Leave();
        FoundDevices = {ReceiverEntry()};
        FoundDevicesMirror = FoundDevices;
        progress_.clear();
        RepairDialog->ResetState();
        RepairDialog->show();
        RepairDialog->SlotRepairCheckUpdate();
        QCOMPARE(Status()->text(), Text("ReadyUpdate", 0));
        Button("NewHong_2")->click();
        QVERIFY(RepairRunning);
        QTRY_VERIFY(!progress_.isEmpty() && (progress_.last() == "0,2" || progress_.last() == "0,6"));
        QCOMPARE(progress_.last(), QString("0,2"));
        QVERIFY(!HidSim::IsBootMode("mouse"));
        QCOMPARE(int(HidSim::Version("mouse")), 0x0113);
        QCOMPARE(FailRecord(), QString());
        QCOMPARE(repairButton_.last(), true);
        QVERIFY(UpdateIdle);
        // The outcome stays until the user closes the dialog.
        RepairDialog->SlotRepairCheckUpdate();
        QCOMPARE(Status()->text(), Text("DialogUpgradeSuccess", 0));
        Button("NewHong_2")->click();
        QVERIFY(!RepairDialog->isVisible());
        QVERIFY(!RepairRunning);
    }
};

QTEST_MAIN(TstFirmwareUpdate)
#include "tst_firmwareupdate.moc"
