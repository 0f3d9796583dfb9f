// The home page's grid against sets of simulated devices, the tile click's guards, the pairing dialog's
// endings, the summary page and the device window's battery indicator.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include "ProductTables.h"
#include "TestEnv.h"
#include "core/ConfigIni.h"
#include "core/DeviceAllInfo.h"
#include "core/LanguageLoader.h"
#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "dialogs/ModalRunner.h"
#include "hidusb/HIDUsb.h"
#include "hidusb/HidSimControl.h"
#include "home/DialogChange.h"
#include "home/Match.h"
#include "home/PreVier.h"
#include "platform/RegistryStore.h"
#include "ui_DialogChange.h"
#include "ui_PreVier.h"
#include "widgets/mytoolButtonEnter.h"

namespace {
const char* const kReceiver8 = R"({"name": "rx8", "kind": "receiver", "class": 8})";
const char* const kReceiver4 = R"({"name": "rx4", "kind": "receiver", "class": 4})";
const char* const kReceiver2 = R"({"name": "rx2", "kind": "receiver", "class": 2})";
const char* const kReceiver1 = R"({"name": "rx1", "kind": "receiver", "class": 1})";

QByteArray Devices(const QStringList& items) {
    return ("{\"devices\": [" + items.join(",") + "]}").toUtf8();
}
}  // namespace

class TstHomePage : public QObject {
    Q_OBJECT

private:
    QStringList ran_;

private slots:
    void initTestCase() { LoadLanguageFiles(); }

    void init() {
        HidSim::SetStateDir(TestEnv::FreshDir("sim"));
        HidSim::SetTiming(20, 200);
        const QString dir = TestEnv::FreshDir("home");
        RegistryStore::SetFilePath(dir + "/registry.ini");
        MacroIni::ResetForTest(dir + "/Macro.ini");
        DeviceWindow.Leave();
        PairCurrentDevice = false;
        ran_.clear();
        // Every dialog run through the runner is recorded and closed at once.
        ModalRunner::SetScript([this](QDialog& dialog) {
            ran_.append(dialog.objectName());
            return int(QDialog::Rejected);
        });
    }

    void cleanup() {
        ModalRunner::SetScript(nullptr);
        StopUsbChanged();
        UsbServer_Exit();
        HidSim::LoadDefault();
    }

    void grid_data() {
        QTest::addColumn<QByteArray>("devices");
        QTest::addColumn<int>("tiles");
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("identicalNotice");

        QTest::newRow("no device") << Devices({}) << 0 << 0 << false;
        QTest::newRow("three receivers of three classes: one page")
            << Devices({kReceiver8, kReceiver4, kReceiver2}) << 3 << 1 << false;
        QTest::newRow("four: a second page")
            << Devices({kReceiver8, kReceiver4, kReceiver2, kReceiver1}) << 4 << 2 << false;
        QTest::newRow("two identical receivers")
            << Devices({kReceiver8, R"({"name": "other8", "kind": "receiver", "class": 8})"}) << 0 << 0
            << true;
        QTest::newRow("cable mouse hides its receiver")
            << Devices({R"({"name": "rx", "kind": "receiver", "class": 8, "mouse": "m"})",
                        R"({"name": "m", "kind": "mouse", "cable": true, "plugged": true})"})
            << 1 << 1 << false;
        QTest::newRow("two cable mice of one model")
            << Devices({R"({"name": "m1", "kind": "mouse", "cable": true, "plugged": true})",
                        R"({"name": "m2", "kind": "mouse", "cable": true, "plugged": true})"})
            << 0 << 0 << true;
        QTest::newRow("two unmatched receivers of one class")
            << Devices({R"({"name": "u1", "kind": "receiver", "class": 8, "mid": 9})",
                        R"({"name": "u2", "kind": "receiver", "class": 8, "mid": 9})"})
            << 2 << 1 << false;
    }

    void grid() {
        QFETCH(QByteArray, devices);
        QFETCH(int, tiles);
        QFETCH(int, pages);
        QFETCH(bool, identicalNotice);
        QVERIFY(HidSim::LoadDescription(devices));
        DialogChange home;
        Ui::DialogChange* form = home.Form();
        QTRY_COMPARE(TileButtons.size(), tiles);
        QCOMPARE(form->stackedWidget->count(), pages);
        QCOMPARE(ran_.contains("QuestiondialogB"), identicalNotice);
        QCOMPARE(form->label_2->isHidden(), tiles > 0);
        QCOMPARE(form->label_3->isHidden(), tiles == 0);
        QCOMPARE(form->RightButton->isHidden(), pages < 2);
        QVERIFY(form->LeftButton->isHidden());
        for (int i = 0; i < TileButtons.size(); ++i)
            QCOMPARE(TileButtons.at(i)->objectName(), "btn" + QString::number(i));
        if (pages == 2) {
            QCOMPARE(TileButtons.last()->pos(), QPoint(305, 0));
            form->RightButton->click();
            QCOMPARE(form->stackedWidget->currentIndex(), 1);
            QVERIFY(form->RightButton->isHidden());
            QVERIFY(!form->LeftButton->isHidden());
            form->LeftButton->click();
            QCOMPARE(form->stackedWidget->currentIndex(), 0);
        }
    }

    // A product table that claims two billion models: the grid walks the sections it has, from Drive1 up to
    // the first one missing, and the home page shows.
    void hugeModelCountBuildsTheGrid_data() {
        const QString head = "[Option]\nDeviceTotal=2000000000\nCID=MzU=\nVID=M0ExQg==\nWireless4_PID=NjAwNA==\n"
                             "Wireless8_PID=NjAwOA==\n";
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("tiles");
        QTest::newRow("two sections") << ProductTables::Write("huge", "", "", "", "2000000000") << 2 << 2;
        QTest::newRow("one far section")
            << ProductTables::WriteText("far", head + "[Drive2000000000]\nMID=6\n") << 0 << 0;
        QTest::newRow("a far section after the first")
            << ProductTables::WriteText("gap", head + "[Drive1]\nMID=6\n[Drive2000000000]\nMID=9\n") << 1 << 2;
    }
    void hugeModelCountBuildsTheGrid() {
        QFETCH(QString, table);
        QFETCH(int, total);
        QFETCH(int, tiles);
        ConfigIni::ResetForTest(table);
        QVERIFY(HidSim::LoadDescription(
            Devices({kReceiver8, R"({"name": "u", "kind": "receiver", "class": 4, "mid": 9})"})));
        {
            // A walk over all the claimed sections would not end: the grid's coming is the test.
            DialogChange home;
            QTRY_COMPARE_WITH_TIMEOUT(TileButtons.size(), tiles, 60000);
            QCOMPARE(DeviceTotal, total);
            QCOMPARE(home.Form()->label_2->isHidden(), tiles > 0);
            // The unknown model's tile, and only that one, shows the unknown picture.
            for (int i = 0; i < tiles; ++i)
                QCOMPARE(TileButtons.at(i)->styleSheet().contains("Unknow.png"),
                         FoundDevices.at(i).DriveIndex == total);
            if (tiles == 2) QCOMPARE(FoundDevices.at(0).DriveIndex + FoundDevices.at(1).DriveIndex, total);
        }
        ConfigIni::ResetForTest();
    }

    void unmatchedTileShowsItsPicture() {
        QVERIFY(
            HidSim::LoadDescription(Devices({R"({"name": "u", "kind": "receiver", "class": 4, "mid": 9})"})));
        DialogChange home;
        QTRY_COMPARE(TileButtons.size(), 1);
        QVERIFY(TileButtons.first()->styleSheet().contains("Unknow.png"));
        QVERIFY(!TileLinkIcons.first()->isHidden());
        // Its click opens nothing but the pairing of an unknown mouse model.
        QSignalSpy select(PostMsg::GetInstance(), SIGNAL(SigSelectMouseInfo(DeviceAllInfo)));
        TileButtons.first()->click();
        QCOMPARE(select.count(), 0);
        QCOMPARE(ran_, QStringList{"Match"});
        QVERIFY(PairCurrentDevice);
        QCOMPARE(PairTargetDevice.Path, FoundDevices.first().Path);
    }

    void staleTileDoesNothing() {
        HidSim::LoadDefault();
        DialogChange home;
        QTRY_COMPARE(TileButtons.size(), 1);
        mytoolButtonEnter* tile = TileButtons.first();
        FoundDevices.clear();  // the list shrank after this tile was built
        QSignalSpy select(PostMsg::GetInstance(), SIGNAL(SigSelectMouseInfo(DeviceAllInfo)));
        QSignalSpy change(PostMsg::GetInstance(), SIGNAL(SigChangeMainDialog(int)));
        tile->click();
        QVERIFY(RefreshDeviceTile(0));
        QCOMPARE(select.count(), 0);
        QCOMPARE(change.count(), 0);
        QVERIFY(!DeviceWindow.Shown());
    }

    void pairingWithoutAnyDeviceStaysDisabled() {
        FoundDevices.clear();
        Match pairing;
        pairing.InitPair();
        QTRY_VERIFY(!pairing.findChild<QPushButton*>("MatchButton")->isEnabled());
        pairing.findChild<QPushButton*>("MatchButton")->click();
        QCOMPARE(PairResult.load(), 0);
    }

    void pairingAMouseOnItsCableIsRefused() {
        PairCurrentDevice = true;
        PairTargetDevice = DeviceAllInfo();
        PairTargetDevice.Path = "cable-mouse";
        PairTargetDevice.IsUsb = true;
        Match pairing;
        pairing.InitPair();
        QTRY_VERIFY(!pairing.findChild<QLabel*>("label")->isHidden());
        QVERIFY(!pairing.findChild<QPushButton*>("MatchButton")->isEnabled());
    }

    // Failure told by the receiver, and failure found by the poll (receiver unplugged), from the device
    // window: both end in one place that closes the pairing connection and gives the window back, unless
    // the window was left meanwhile (the top-level window went home when the receiver went): then the
    // device thread gets nothing back and the dialog's closing returns to the home page's handling.
    void pairingFailureEndsInOnePlace_data() {
        QTest::addColumn<bool>("unplug");
        QTest::addColumn<bool>("left");
        QTest::newRow("receiver reports failure") << false << false;
        QTest::newRow("receiver unplugged") << true << false;
        QTest::newRow("receiver unplugged, device window left") << true << true;
    }

    void pairingFailureEndsInOnePlace() {
        QFETCH(bool, unplug);
        QFETCH(bool, left);
        HidSim::LoadDefault();
        const QString path = HidSim::PathOf("receiver");
        DeviceAllInfo receiver;
        receiver.Path = path.toUtf8();
        receiver.Vid = "3A1B";
        receiver.Pid = "6008";
        {
            std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
            CurrentDevice = receiver;
        }
        DeviceWindow.Enter();
        if (!unplug) HidSim::FailNextPairing("receiver");
        Match pairing;
        pairing.InitPair();
        auto* button = pairing.findChild<QPushButton*>("MatchButton");
        QTRY_VERIFY(pairing.PairAllowed);
        button->click();
        QCOMPARE(PairResult.load(), 1);
        QVERIFY(!DeviceWindow.Active());
        // Escape while pairing runs changes nothing.
        QTest::keyClick(&pairing, Qt::Key_Escape);
        QVERIFY(PairConnectionOpen);
        if (unplug) HidSim::Unplug("receiver");
        if (left) DeviceWindow.Leave();
        QTRY_COMPARE_WITH_TIMEOUT(PairResult.load(), 3, 5000);
        QVERIFY(!PairConnectionOpen);
        QCOMPARE(DeviceWindow.Active(), !left);
        QCOMPARE(DeviceWindow.Shown(), !left);
        QVERIFY(button->isEnabled());
        QCOMPARE(button->text(), QString("Pairing failed"));
        DeviceWindow.Leave();
        std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
        CurrentDevice = DeviceAllInfo();
    }

    void summaryShowsWhatThePagesSend() {
        PreVier summary;
        Ui::PreVier* form = summary.Form();
        PostMsg* hub = PostMsg::GetInstance();
        hub->EmitSigAddReport(8000);
        QCOMPARE(form->ReportValue->text(), QString("8000Hz"));
        hub->EmitSigAddVer(2, "v9.99");
        QCOMPARE(form->MouseValue->text(), QString("v2.21"));
        QCOMPARE(form->DongleValue->text(), QString("v1.0"));
        hub->EmitSigAddUpdate(1, true);
        QVERIFY(!form->DongleUp->isHidden());
        hub->EmitSigAddUpdate(1, false);
        QVERIFY(form->DongleUp->isHidden());
        hub->EmitSigMouseIndex(1);
        QVERIFY(form->widget->styleSheet().contains("mouse1.png"));
    }
};

QTEST_MAIN(TstHomePage)
#include "tst_homepage.moc"
