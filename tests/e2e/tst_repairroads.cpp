// Firmware repair roads through the real top-level window and the simulated devices: updates and repairs
// cut off in any stage (the program killed: the simulation restarted and the window made anew), what waits
// in boot mode decides the repair, and a stage ends only on its own status. Every road ends with the devices
// at normal versions, no failure record and no repair entry, also at the start after it.
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>
#include <atomic>
#include <functional>
#include <memory>

#include "RoadFixture.h"
#include "app/DialogMain.h"
#include "core/PostMsg.h"
#include "firmware/FailRecord.h"
#include "firmware/FlashStage.h"
#include "firmware/RepairRun.h"
#include "firmware/UpdateStages.h"
#include "home/DialogChange.h"
#include "settings/UpDateRepair.h"
#include "ui_DialogChange.h"
#include "widgets/mytoolButtonEnter.h"

namespace {
constexpr int kWaitMs = 30000;
const unsigned char kSuccess[3] = {7, 2, 1};

// A receiver and its mouse on the cable, both older than the sample images (v1.06, v1.13).
const QByteArray kCableSet =
    R"({"devices": [{"name": "receiver", "kind": "receiver", "class": 8, "version": "0x0105",
        "receiverId": [18, 52, 86], "mouse": "mouse"},
       {"name": "mouse", "kind": "mouse", "cable": true, "plugged": true, "version": "0x0112"}]})";
// The receiver waits in boot mode; its mouse works, off its cable.
const QByteArray kReceiverWaits =
    R"({"devices": [{"name": "receiver", "kind": "receiver", "class": 8, "version": "0x0105",
        "receiverId": [18, 52, 86], "mouse": "mouse", "bootMode": true},
       {"name": "mouse", "kind": "mouse", "version": "0x0112"}]})";
// Two receivers of one model: one waits in boot mode, its twin works with the mouse.
const QByteArray kTwins =
    R"({"devices": [{"name": "receiver", "kind": "receiver", "class": 8, "version": "0x0105",
        "receiverId": [18, 52, 86], "bootMode": true},
       {"name": "twin", "kind": "receiver", "class": 8, "version": "0x0105", "receiverId": [1, 2, 3],
        "mouse": "mouse"},
       {"name": "mouse", "kind": "mouse", "version": "0x0112"}]})";
}  // namespace

class TstRepairRoads : public QObject {
    Q_OBJECT
    QStringList progress_;
    std::unique_ptr<DialogMain> window_;
    std::unique_ptr<QObject> hooks_;  // the library-thread hooks of one step
    std::atomic<bool> killed_{false};
    std::atomic<bool> mouseFlashingAtSuccess_{false};

    static QToolButton* DialogButton(const char* name) { return RepairDialog->findChild<QToolButton*>(name); }

    // Runs `act` once on the library's thread when `signal` shows `value`.
    template <typename Signal>
    void OnceAt(Signal signal, int value, std::function<void()> act) {
        auto done = std::make_shared<std::atomic<bool>>(false);
        connect(
            PostMsg::GetInstance(), signal, hooks_.get(),
            [done, value, act](int shown, int kind = 0) {
                if (kind == 0 && shown == value && !done->exchange(true)) act();
            },
            Qt::DirectConnection);
    }
    // The progress a repair or an update shows.
    void OnceAtProgress(bool repair, int value, std::function<void()> act) {
        if (repair)
            OnceAt(&PostMsg::SigAutoRepairProgress, value, std::move(act));
        else
            OnceAt(&PostMsg::SigProgress, value, std::move(act));
    }

    // Dialogs run; the notice about identical devices (the twins, once both answer) is answered at once.
    static void RunDialogs() {
        ModalRunner::SetScript([](QDialog& dialog) {
            return dialog.objectName() == "QuestiondialogB" ? int(QDialog::Rejected) : dialog.exec();
        });
    }

    void NewStart() {
        window_.reset();
        RoadFixture::AsANewStart();
        RunDialogs();
        window_ = std::make_unique<DialogMain>();
        window_->show();
    }

    void StartRepair() {
        QPushButton* repair = HomePage->Form()->Repair;
        QTRY_VERIFY_WITH_TIMEOUT(repair->isVisible(), kWaitMs);
        repair->click();
        QTRY_VERIFY_WITH_TIMEOUT(RepairDialog->isVisible(), kWaitMs);
        QLabel* status = RepairDialog->findChild<QLabel*>("ToolText_2");
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), RepairDialog->ReadyText, kWaitMs);
        DialogButton("NewHong_2")->click();
    }

    // The run's outcome: the last of its end signals, then OK.
    void EndsWith(const QString& outcome) {
        QTRY_VERIFY_WITH_TIMEOUT(
            !progress_.isEmpty() &&
                (progress_.last() == "0,2" || progress_.last() == "0,1" || progress_.last() == "0,6"),
            kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(UpdateIdle && !UpdateStepRunning, kWaitMs);
        QCOMPARE(progress_.last(), outcome);
        DialogButton("NewHong_2")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!RepairDialog->isVisible(), kWaitMs);
    }

    // Runs one step: "update", "update fail mouse 40", "update kill 15", "update late 70", "repair",
    // "repair kill 15", "repair late 70", "repair refused receiver" (the library refuses the start),
    // "restart", "unplug mouse".
    void Step(const QString& step) {
        const QStringList words = step.split(' ');
        hooks_ = std::make_unique<QObject>();
        killed_ = false;
        progress_.clear();
        const QString road = words[0];
        const QString how = words.value(1);
        const int value = words.last().toInt();
        if (road == "restart") {
            NewStart();
        } else if (road == "unplug") {
            QVERIFY(HidSim::Unplug(words[1]));
        } else if (road == "update" || road == "repair") {
            const bool repair = road == "repair";
            if (how == "fail") QVERIFY(HidSim::FailUpgradeAt(words[2], value));
            if (how == "refused") QVERIFY(HidSim::FailNext(words[2], 1));
            if (how == "kill")
                OnceAtProgress(repair, value, [this] {
                    HidSim::Restart();
                    killed_ = true;
                });
            if (how == "late") {
                // A final status of the receiver's stage, after it has ended, while the mouse is flashed.
                auto receiverStage = std::make_shared<std::atomic<int>>(0);
                if (repair)
                    OnceAt(&PostMsg::SigAutoRepairProgress, 10,
                           [receiverStage] { *receiverStage = RepairStageId(); });
                OnceAtProgress(repair, value, [=] {
                    const int stage = repair ? int(*receiverStage) : UpdateStageOf(kReceiverFirmware);
                    if (UpgradeStatusCallback late = FlashStageCallback(stage)) late(kSuccess);
                    if (!repair) ReceiverUpgradeCallback(kSuccess);
                });
                connect(
                    PostMsg::GetInstance(), &PostMsg::SigProgress, hooks_.get(),
                    [this](int shown, int kind) {
                        if (shown == 0 && kind == 2 && HidSim::IsBootMode("mouse"))
                            mouseFlashingAtSuccess_ = true;
                    },
                    Qt::DirectConnection);
            }
            if (repair)
                StartRepair();
            else
                RoadFixture::StartOfferedUpgrade(*window_);
            if (QTest::currentTestFailed()) return;
            if (how == "kill") {
                QTRY_VERIFY_WITH_TIMEOUT(killed_, kWaitMs);
            } else if (how == "refused") {
                EndsWith("0,6");
                // The device still waits: the repair stays on offer.
                QVERIFY(HomePage->Form()->Repair->isVisible());
            } else {
                EndsWith(how == "fail" ? "0,1" : "0,2");
                QVERIFY(!mouseFlashingAtSuccess_);
            }
        } else {
            QFAIL(qPrintable("unknown step " + step));
        }
    }

private slots:
    void initTestCase() {
        connect(PostMsg::GetInstance(), &PostMsg::SigProgress, this,
                [this](int value, int kind) { progress_ << QString("%1,%2").arg(value).arg(kind); });
    }

    void init() {
        progress_.clear();
        mouseFlashingAtSuccess_ = false;
        RoadFixture::FreshUserState();
        FirmwareFixture::UseInstallation();
        FirmwareFixture::PutPair(0x0106, 0x0113);
        FoundDevices.clear();
        FoundDevicesMirror.clear();
        DeviceWindow.Leave();
        RunDialogs();
    }

    void cleanup() {
        hooks_.reset();
        window_.reset();
        RoadFixture::AsANewStart();
        RoadFixture::EndRoad();
    }

    void roads_data() {
        QTest::addColumn<QByteArray>("devices");
        QTest::addColumn<QString>("record");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("receiverAfter");
        QTest::addColumn<int>("mouseAfter");
        QTest::addColumn<int>("twinAfter");  // 0: no twin

        // The mouse's update fails; its repair flashes the receiver first and is killed there: both wait in
        // boot mode, the mouse off its cable behind its receiver.
        QTest::newRow("mouse update fails, its repair killed in the receiver stage")
            << kCableSet << ""
            << QStringList{"update fail mouse 40", "repair kill 15", "restart", "unplug mouse", "repair"}
            << 0x0106 << 0x0113 << 0;
        QTest::newRow("mouse update fails, its repair killed in the mouse stage")
            << kCableSet << ""
            << QStringList{"update fail mouse 40", "repair kill 65", "restart", "unplug mouse", "repair"}
            << 0x0106 << 0x0113 << 0;
        QTest::newRow("receiver update killed, then its repair killed")
            << kCableSet << ""
            << QStringList{"update kill 15", "restart", "repair kill 15", "restart", "repair"} << 0x0106
            << 0x0113 << 0;
        QTest::newRow("one of two twin receivers waits")
            << kTwins << "211,8,35,6" << QStringList{"repair"} << 0x0106 << 0x0112 << 0x0105;
        QTest::newRow("the record names the mouse, the receiver waits")
            << kReceiverWaits << "210,8,35,6" << QStringList{"repair"} << 0x0106 << 0x0113 << 0;
        QTest::newRow("a refused start, then the repair")
            << kReceiverWaits << "" << QStringList{"repair refused receiver", "repair"} << 0x0106 << 0x0112
            << 0;
        QTest::newRow("a record with a leading zero")
            << kReceiverWaits << "211,08,35,6" << QStringList{"repair"} << 0x0106 << 0x0112 << 0;
        QTest::newRow("a record with spaces and leading zeros")
            << kReceiverWaits << " 211, 8,035,006" << QStringList{"repair"} << 0x0106 << 0x0112 << 0;
        QTest::newRow("late receiver status in the update's mouse stage")
            << kCableSet << "" << QStringList{"update late 70"} << 0x0106 << 0x0113 << 0;
        QTest::newRow("late receiver status in the repair's mouse stage")
            << kReceiverWaits << "210,8,35,6" << QStringList{"repair late 70"} << 0x0106 << 0x0113 << 0;
    }
    void roads() {
        QFETCH(QByteArray, devices);
        QFETCH(QString, record);
        QFETCH(QStringList, steps);
        QFETCH(int, receiverAfter);
        QFETCH(int, mouseAfter);
        QFETCH(int, twinAfter);
        QVERIFY(HidSim::LoadDescription(devices));
        if (!record.isEmpty())
            RegistryStore(RegistryStore::DriveTestKey()).SetValue("UpdateFailInfo", record);
        window_ = std::make_unique<DialogMain>();
        window_->show();
        for (const QString& step : steps) {
            Step(step);
            if (QTest::currentTestFailed()) {
                qWarning() << "in the step" << step << "after" << progress_;
                return;
            }
        }
        QTRY_VERIFY_WITH_TIMEOUT(HomePage->Form()->Repair->isHidden(), kWaitMs);
        QCOMPARE(UpgradeFailRecord(), QString());
        QCOMPARE(int(HidSim::Version("receiver")), receiverAfter);
        QCOMPARE(int(HidSim::Version("mouse")), mouseAfter);
        QVERIFY(!HidSim::IsBootMode("receiver"));
        QVERIFY(!HidSim::IsBootMode("mouse"));
        if (twinAfter) {
            QCOMPARE(int(HidSim::Version("twin")), twinAfter);
            QVERIFY(!HidSim::IsBootMode("twin"));
        }
        // Nothing is offered at the next start either.
        HidSim::Restart();
        NewStart();
        QTRY_VERIFY_WITH_TIMEOUT(!FoundDevicesMirror.isEmpty(), kWaitMs);
        QVERIFY(HomePage->Form()->Repair->isHidden());
        QCOMPARE(UpgradeFailRecord(), QString());
    }
};

QTEST_MAIN(TstRepairRoads)
#include "tst_repairroads.moc"
