// The firmware update through the real top-level window: a receiver and its mouse on the cable with the
// sample images beside the program; choosing the mouse offers the update and Start flashes the receiver,
// then the mouse.
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>
#include <atomic>
#include <functional>
#include <memory>

#include "RoadFixture.h"
#include "TestEnv.h"
#include "app/DialogMain.h"
#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "dialogs/ModalRunner.h"
#include "firmware/UpgradeState.h"
#include "hidusb/HIDUsb.h"
#include "hidusb/HidSimControl.h"
#include "home/DialogChange.h"
#include "home/PreVier.h"
#include "platform/Paths.h"
#include "platform/RegistryStore.h"
#include "settings/FormSetting.h"
#include "settings/UpDateRepair.h"
#include "ui_DialogChange.h"
#include "ui_FormSetting.h"
#include "ui_PreVier.h"
#include "widgets/mytoolButtonEnter.h"

namespace {
constexpr int kWaitMs = 30000;
const char* const kCableSet =
    R"({"devices": [{"name": "receiver", "kind": "receiver", "class": 8, "version": "0x0105",
        "receiverId": [18, 52, 86], "mouse": "mouse"},
       {"name": "mouse", "kind": "mouse", "cable": true, "plugged": true, "version": "0x0112"}]})";
}  // namespace

class TstFirmwareRoad : public QObject {
    Q_OBJECT
    QStringList progress_;

    // Runs `act` once, on the library's thread, when the update shows progress `value`; while `context`
    // lives.
    static void OnceAtProgress(QObject* context, int value, std::function<void()> act) {
        auto done = std::make_shared<std::atomic<bool>>(false);
        connect(
            PostMsg::GetInstance(), &PostMsg::SigProgress, context,
            [done, value, act](int shown, int kind) {
                if (kind == 0 && shown == value && !done->exchange(true)) act();
            },
            Qt::DirectConnection);
    }

private slots:
    void initTestCase() {
        connect(PostMsg::GetInstance(), &PostMsg::SigProgress, this,
                [this](int value, int kind) { progress_ << QString("%1,%2").arg(value).arg(kind); });
    }

    void init() {
        progress_.clear();
        RoadFixture::FreshUserState();
        QVERIFY(HidSim::LoadDescription(kCableSet));
        ModalRunner::SetScript([](QDialog& dialog) { return dialog.exec(); });
    }

    void cleanup() { RoadFixture::EndRoad(); }

    void choosingTheMouseOffersAndFlashesBoth() {
        DialogMain window;
        RoadFixture::StartOfferedUpgrade(window);
        if (QTest::currentTestFailed()) return;
        QTRY_VERIFY_WITH_TIMEOUT(
            !progress_.isEmpty() && (progress_.last() == "0,2" || progress_.last() == "0,1"), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(UpdateIdle && !UpdateStepRunning, kWaitMs);
        QCOMPARE(progress_.last(), QString("0,2"));
        QVERIFY(progress_.contains("50,0"));
        QCOMPARE(int(HidSim::Version("receiver")), 0x0106);
        QCOMPARE(int(HidSim::Version("mouse")), 0x0113);
        FormSetting* page = window.findChild<FormSetting*>();
        QVERIFY(page);
        QTRY_COMPARE_WITH_TIMEOUT(page->Form()->label_5->text(), QString("v1.06"), kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(page->Form()->label_7->text(), QString("v1.13"), kWaitMs);
        QCOMPARE(RegistryStore(RegistryStore::DriveTestKey()).Value("MouseVer356").toString(),
                 QString("v1.13"));
        QCOMPARE(UpgradeFailRecord(), QString());
        RepairDialog->findChild<QToolButton*>("NewHong_2")->click();
        QVERIFY(!RepairDialog->isVisible());
    }

    void failedMouseUpgradeIsRepairedFromHome() {
        QVERIFY(HidSim::FailUpgradeAt("mouse", 40));
        DialogMain window;
        RoadFixture::StartOfferedUpgrade(window);
        if (QTest::currentTestFailed()) return;
        QLabel* status = RepairDialog->findChild<QLabel*>("ToolText_2");
        QTRY_VERIFY_WITH_TIMEOUT(!progress_.isEmpty() && progress_.last() == "0,1", kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(UpdateIdle && !UpdateStepRunning, kWaitMs);
        QVERIFY(progress_.contains("70,0"));
        QCOMPARE(UpgradeFailRecord(), QString("210,8,35,6"));
        QVERIFY(HidSim::IsBootMode("mouse"));
        // The summary still marks the mouse's update; the receiver's is done.
        Ui::PreVier* summary = window.findChild<PreVier*>()->Form();
        QVERIFY(!summary->MouseUp->isHidden());
        QVERIFY(summary->DongleUp->isHidden());

        // OK returns home, which offers the repair.
        RepairDialog->findChild<QToolButton*>("NewHong_2")->click();
        QTRY_COMPARE_WITH_TIMEOUT(window.Stack()->currentIndex(), int(DialogMain::HomePageIndex), kWaitMs);
        QPushButton* repair = HomePage->Form()->Repair;
        QTRY_VERIFY_WITH_TIMEOUT(repair->isVisible(), kWaitMs);
        progress_.clear();
        repair->click();
        QTRY_VERIFY_WITH_TIMEOUT(RepairDialog->isVisible(), kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), RepairDialog->ReadyText, kWaitMs);
        RepairDialog->findChild<QToolButton*>("NewHong_2")->click();
        QTRY_VERIFY_WITH_TIMEOUT(
            !progress_.isEmpty() && (progress_.last() == "0,2" || progress_.last() == "0,6"), kWaitMs);
        QCOMPARE(progress_.last(), QString("0,2"));
        QCOMPARE(UpgradeFailRecord(), QString());
        QTRY_VERIFY_WITH_TIMEOUT(!HidSim::IsBootMode("mouse"), kWaitMs);
        QCOMPARE(int(HidSim::Version("mouse")), 0x0113);
        QTRY_VERIFY_WITH_TIMEOUT(repair->isHidden(), kWaitMs);
        RepairDialog->findChild<QToolButton*>("NewHong_2")->click();
        QVERIFY(!RepairDialog->isVisible());
    }

    // Unplugging the receiver while it is flashed fails the upgrade; the receiver waits in boot mode and the
    // record names it.
    void receiverUnpluggedDuringItsFlashFails() {
        QObject unplugger;
        OnceAtProgress(&unplugger, 15, [] { HidSim::Unplug("receiver"); });  // the receiver's 30 %
        DialogMain window;
        RoadFixture::StartOfferedUpgrade(window);
        if (QTest::currentTestFailed()) return;
        QTRY_VERIFY_WITH_TIMEOUT(!progress_.isEmpty() && progress_.last() == "0,1", kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(UpdateIdle && !UpdateStepRunning, kWaitMs);
        QVERIFY(!progress_.contains("0,2"));
        QVERIFY(!progress_.contains("20,0"));
        QCOMPARE(RepairDialog->findChild<QLabel*>("ToolText_2")->text(), RepairDialog->FailText);
        QVERIFY(HidSim::IsBootMode("receiver"));
        QCOMPARE(int(HidSim::Version("receiver")), 0x0105);
        QCOMPARE(UpgradeFailRecord(), QString("211,8,35,6"));
        RepairDialog->findChild<QToolButton*>("NewHong_2")->click();
        QVERIFY(!RepairDialog->isVisible());
    }

    void recordWithNothingToRepairIsDropped_data() {
        QTest::addColumn<QString>("record");
        QTest::newRow("damaged") << "210,8,35";
        QTest::newRow("a model the table does not know") << "210,8,35,9";
        QTest::newRow("the mouse answers") << "210,8,35,6";
        QTest::newRow("the receiver answers") << "211,8,35,6";
        QTest::newRow("the receiver answers, a leading zero") << "211,08,35,6";
    }
    // A failure record that no repair can use, or whose device answers at a normal version, is dropped at
    // the start: no repair entry on the home page.
    void recordWithNothingToRepairIsDropped() {
        QFETCH(QString, record);
        RegistryStore(RegistryStore::DriveTestKey()).SetValue("UpdateFailInfo", record);
        FoundDevices.clear();
        DeviceWindow.Leave();
        DialogMain window;
        window.show();
        QTRY_VERIFY_WITH_TIMEOUT(TileButtons.size() == 1, kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(UpgradeFailRecord(), QString(), kWaitMs);
        QVERIFY(HomePage->Form()->Repair->isHidden());
        QCOMPARE(HomePage->Form()->label_2->text(), NoDeviceText);
    }

    void repairTextWrapsInsideTheFrame_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("Czech") << 1;
    }
    // With no device to show, the home page asks for the repair; the text wraps inside the dotted frame of
    // its background picture (x 40 to 980) in every language.
    void repairTextWrapsInsideTheFrame() {
        QFETCH(int, language);
        QVERIFY(HidSim::LoadDescription(
            R"({"devices": [{"name": "receiver", "kind": "receiver", "class": 8, "bootMode": true, "mouse": "mouse"},
                {"name": "mouse", "kind": "mouse"}]})"));
        RegistryStore(RegistryStore::DriveTestKey()).SetValue("UpdateFailInfo", "211,8,35,6");
        QVERIFY(MacroIni::GetInstance()->SetValue("Language", "Language", QString::number(language)));
        FoundDevices.clear();
        FoundDevicesMirror.clear();
        DeviceWindow.Leave();
        DialogMain window;
        window.show();
        QLabel* text = HomePage->Form()->label_2;
        QTRY_VERIFY_WITH_TIMEOUT(text->isVisible(), kWaitMs);
        QVERIFY(HomePage->Form()->Repair->isVisible());
        QCOMPARE(text->text(), RepairDeviceText);
        QVERIFY(!text->text().isEmpty());
        const QRect lines = text->fontMetrics().boundingRect(
            text->contentsRect(), int(text->alignment()) | Qt::TextWordWrap, text->text());
        const QRect onPage(text->mapTo(HomePage, lines.topLeft()), lines.size());
        QVERIFY2(onPage.left() > 40 && onPage.right() < 980,
                 qPrintable(QString("%1..%2").arg(onPage.left()).arg(onPage.right())));
        QVERIFY(lines.height() <= text->contentsRect().height());
    }

    void updateCutOffIsRepairedAtTheNextStart_data() {
        QTest::addColumn<bool>("stall");
        QTest::newRow("the mouse goes silent") << true;
        QTest::newRow("the program ends mid-flash") << false;
    }
    // The program ends while the mouse stage runs, before the library reports its end (a crash or a power
    // loss; here the library's state is reloaded as at a new start, its steps dropped): the mouse is left in
    // boot mode, the next start offers the repair, and the repair brings the mouse back. Until then the
    // summary shows the receiver's new version without its update mark, the mouse's still marked.
    void updateCutOffIsRepairedAtTheNextStart() {
        QFETCH(bool, stall);
        if (stall) QVERIFY(HidSim::StallUpgradeAt("mouse", 30));
        QObject killer;
        if (!stall) OnceAtProgress(&killer, 65, [] { HidSim::Restart(); });  // the mouse's 30 %
        {
            DialogMain window;
            RoadFixture::StartOfferedUpgrade(window);
            if (QTest::currentTestFailed()) return;
            QTRY_VERIFY_WITH_TIMEOUT(progress_.contains("65,0"), kWaitMs);
            QTRY_VERIFY_WITH_TIMEOUT(HidSim::IsBootMode("mouse"), kWaitMs);
            QCOMPARE(int(HidSim::Version("receiver")), 0x0106);
            QCOMPARE(int(HidSim::Version("mouse")), 0x0112);
            QCOMPARE(UpgradeFailRecord(), QString("210,8,35,6"));
            Ui::PreVier* summary = window.findChild<PreVier*>()->Form();
            QTRY_COMPARE_WITH_TIMEOUT(summary->DongleValue->text(), QString("v1.06"), kWaitMs);
            QVERIFY(summary->DongleUp->isHidden());
            QVERIFY(!summary->MouseUp->isHidden());
            QVERIFY(!progress_.contains("0,1") && !progress_.contains("0,2"));
        }
        RoadFixture::AsANewStart();
        progress_.clear();

        DialogMain window;
        window.show();
        QPushButton* repair = HomePage->Form()->Repair;
        QTRY_VERIFY_WITH_TIMEOUT(repair->isVisible(), kWaitMs);
        repair->click();
        QTRY_VERIFY_WITH_TIMEOUT(RepairDialog->isVisible(), kWaitMs);
        QLabel* status = RepairDialog->findChild<QLabel*>("ToolText_2");
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), RepairDialog->ReadyText, kWaitMs);
        RepairDialog->findChild<QToolButton*>("NewHong_2")->click();
        QTRY_VERIFY_WITH_TIMEOUT(
            !progress_.isEmpty() && (progress_.last() == "0,2" || progress_.last() == "0,6"), kWaitMs);
        QCOMPARE(progress_.last(), QString("0,2"));
        QTRY_VERIFY_WITH_TIMEOUT(!HidSim::IsBootMode("mouse"), kWaitMs);
        QCOMPARE(int(HidSim::Version("mouse")), 0x0113);
        QCOMPARE(UpgradeFailRecord(), QString());
        QTRY_VERIFY_WITH_TIMEOUT(repair->isHidden(), kWaitMs);
        RepairDialog->findChild<QToolButton*>("NewHong_2")->click();
        QVERIFY(!RepairDialog->isVisible());
    }
};

QTEST_MAIN(TstFirmwareRoad)
#include "tst_firmwareroad.moc"
