// The main road through the real top-level window against the simulated receiver and mouse: home page,
// tile click, settings read, summary page, a change reaching the mouse, unplugging, the cache file with
// the mouse asleep, and pairing.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "TestEnv.h"
#include "app/DevicePageStandIn.h"
#include "app/Dialog.h"
#include "app/DialogMain.h"
#include "core/DeviceAllInfo.h"
#include "core/MacroIni.h"
#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "device/DeviceInfoFile.h"
#include "device/Worker.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/MouseOffLine.h"
#include "dialogs/UpDataParam.h"
#include "hidusb/HIDUsb.h"
#include "hidusb/HidSimControl.h"
#include "home/DialogChange.h"
#include "home/Match.h"
#include "home/PreVier.h"
#include "platform/Paths.h"
#include "platform/RegistryStore.h"
#include "ui_DialogChange.h"
#include "ui_PreVier.h"
#include "widgets/mytoolButtonEnter.h"

namespace {
constexpr int kWaitMs = 20000;

FlashDataMap MouseImage() {
    FlashDataMap image{};
    const QByteArray flash = HidSim::Flash("mouse");
    ProtocolDataParser(reinterpret_cast<const unsigned char*>(flash.constData()), &image);
    return image;
}

QString SummaryText(DialogMain& window, const char* name) {
    return window.findChild<PreVier*>()->findChild<QLabel*>(name)->text();
}
}  // namespace

class TstMainRoad : public QObject {
    Q_OBJECT

private:
    QStringList waits_;  // object names of the dialogs run through ModalRunner

    DialogChange* Home(DialogMain& window) { return window.findChild<DialogChange*>(); }

    void WaitForTile() { QTRY_VERIFY_WITH_TIMEOUT(TileButtons.size() == 1, kWaitMs); }

    // Clicks the one tile and waits until the settings were read and the wait dialog closed.
    void OpenDevice(DialogMain& window) {
        WaitForTile();
        TileButtons.first()->click();
        QCOMPARE(window.Stack()->currentIndex(), int(DialogMain::DevicePageIndex));
    }

    void ReadSettings(DialogMain& window) {
        OpenDevice(window);
        QTRY_VERIFY_WITH_TIMEOUT(waits_.contains("UpDataParam"), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!window.findChild<Dialog*>()->WaitDialog()->isVisible(), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(FlashDataFromDevice && DeviceWorker && DeviceWorker->isFinished(), kWaitMs);
    }

    void Leave(DialogMain& window) {
        window.findChild<Dialog*>()->findChild<QToolButton*>("UpArrow")->click();
        QCOMPARE(window.Stack()->currentIndex(), int(DialogMain::HomePageIndex));
    }

private slots:
    void init() {
        HidSim::SetStateDir(TestEnv::FreshDir("sim"));
        HidSim::SetTiming(20, 300);
        HidSim::LoadDefault();
        const QString dir = TestEnv::FreshDir("home");
        RegistryStore::SetFilePath(dir + "/registry.ini");
        MacroIni::ResetForTest(dir + "/Macro.ini");
        QDir(Paths::UserDataDir() + "/Device_Info").removeRecursively();
        QDir().mkpath(Paths::UserDataDir() + "/Device_Info");
        DialogMain::TrayAvailable = [] { return false; };
        FoundDevices.clear();
        FlashDataFromDevice = false;
        DevicePageActive = 0;
        UpdateIdle = true;
        waits_.clear();
        ModalRunner::SetScript([this](QDialog& dialog) {
            waits_.append(dialog.objectName());
            return dialog.exec();
        });
    }

    void cleanup() {
        ModalRunner::SetScript(nullptr);
        UsbServer_Exit();
        StopUsbChanged();
    }

    void startShowsTheReceiverTile() {
        DialogMain window;
        window.show();
        WaitForTile();
        Ui::DialogChange* form = Home(window)->Form();
        QCOMPARE(TileButtons.first()->objectName(), QString("btn0"));
        QCOMPARE(form->stackedWidget->count(), 1);
        QVERIFY(form->label_2->isHidden());
        QVERIFY(!form->label_3->isHidden());
        QVERIFY(form->RightButton->isHidden());
        // Online mouse behind the receiver: link icon shown, offline icon hidden, online picture.
        QVERIFY(!TileLinkIcons.first()->isHidden());
        QVERIFY(TileOfflineIcons.first()->isHidden());
        QVERIFY(TileButtons.first()->styleSheet().contains("OnLine0.png"));
        QVERIFY(TileLinkIcons.first()->styleSheet().contains("OnLineWifi.png"));
        QCOMPARE(FoundDevices.first().Type, kTypeReceiver8K);
        QVERIFY(FoundDevices.first().Online);
    }

    void clickReadsTheSettingsIntoTheSummary() {
        DialogMain window;
        window.show();
        ReadSettings(window);
        QCOMPARE(DevicePageActive.load(), 1);

        const FlashDataMap image = MouseImage();
        QCOMPARE(SummaryText(window, "DpiValue"),
                 QString::number(DevicePageStandIn::LevelDpi(image.DpiLevels[image.CurrentDpiLevel])));
        QCOMPARE(SummaryText(window, "ReportValue"),
                 QString::number(DevicePageStandIn::ReportRateHz(image.ReportRateCode)) + "Hz");
        QCOMPARE(SummaryText(window, "LodValue"), DevicePageStandIn::LodText(image.LodCode));
        QCOMPARE(SummaryText(window, "DebunceValue"), QString::number(image.KeyDebounceMs) + "ms");
        QTRY_COMPARE(SummaryText(window, "ConfigValue"),
                     "Profile " + QString::number(HidSim::ActiveConfig("mouse") + 1));
        QTRY_COMPARE(SummaryText(window, "MouseValue"), VersionText(HidSim::Version("mouse")));
        QCOMPARE(SummaryText(window, "DongleValue"), VersionText(HidSim::Version("receiver")));
        QCOMPARE(SummaryText(window, "ReportName"), QString("Report rate"));
    }

    void changesReachTheMouseAndTheMouseReachesTheSummary() {
        DialogMain window;
        window.show();
        ReadSettings(window);

        QVERIFY(SetLod(2));
        QTRY_COMPARE_WITH_TIMEOUT(int(MouseImage().LodCode), 2, kWaitMs);

        const FlashDataMap before = MouseImage();
        const int next = (before.CurrentDpiLevel + 1) % before.DpiLevelCount;
        QVERIFY(HidSim::PressDpiButton("mouse"));
        QTRY_COMPARE_WITH_TIMEOUT(SummaryText(window, "DpiValue"),
                                  QString::number(DevicePageStandIn::LevelDpi(before.DpiLevels[next])),
                                  kWaitMs);
    }

    void unplugReturnsHomeAndPlugBringsTheTileBack() {
        DialogMain window;
        window.show();
        ReadSettings(window);

        QVERIFY(HidSim::Unplug("receiver"));
        QTRY_COMPARE_WITH_TIMEOUT(window.Stack()->currentIndex(), int(DialogMain::HomePageIndex), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(TileButtons.isEmpty(), kWaitMs);
        QVERIFY(!Home(window)->Form()->label_2->isHidden());

        QVERIFY(HidSim::Plug("receiver"));
        WaitForTile();
        QVERIFY(!Home(window)->Form()->label_3->isHidden());
    }

    void cachedSettingsAndOfflineNoticeWhileTheMouseSleeps() {
        DialogMain window;
        window.show();
        ReadSettings(window);
        const DeviceAllInfo device = CurrentDeviceCopy();
        Leave(window);

        const QString cacheFile = DeviceInfoFilePath(device.CidMidWord);
        QVERIFY(QFile::exists(cacheFile));
        FlashDataMap cached{};
        QVERIFY(ReadDeviceInfoFile(cacheFile, &cached));
        QCOMPARE(int(cached.LodCode), int(MouseImage().LodCode));

        // A value the summary can only have from the cache file.
        cached.CurrentDpiLevel = 3;
        QVERIFY(WriteDeviceInfoFile(cacheFile, cached));
        QVERIFY(HidSim::Sleep("mouse"));
        WaitForTile();
        QVERIFY(!HidSim::IsOnline("mouse"));

        bool noticeSeen = false;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            if (!noticeSeen && qobject_cast<MouseOffLine*>(QApplication::activeModalWidget())) {
                noticeSeen = true;
                QCOMPARE(SummaryText(window, "DpiValue"),
                         QString::number(DevicePageStandIn::LevelDpi(cached.DpiLevels[3])));
                HidSim::Wake("mouse");
            }
        });
        watcher.start(50);
        TileButtons.first()->click();
        QTRY_VERIFY_WITH_TIMEOUT(noticeSeen, kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!qobject_cast<MouseOffLine*>(QApplication::activeModalWidget()), kWaitMs);
        watcher.stop();
        // Awake again: the settings are read from the mouse.
        QTRY_VERIFY_WITH_TIMEOUT(FlashDataFromDevice, kWaitMs);
    }

    void pairingTheMouseWithItsReceiver() {
        DialogMain window;
        window.show();
        WaitForTile();

        QString finalText;
        bool buttonDisabled = false;
        QTimer driver;
        connect(&driver, &QTimer::timeout, [&] {
            auto* pairing = qobject_cast<Match*>(QApplication::activeModalWidget());
            if (!pairing) return;
            auto* button = pairing->findChild<QPushButton*>("MatchButton");
            if (PairResult == 0 && button->isEnabled())
                button->click();
            else if (PairResult == 2) {
                finalText = button->text();
                buttonDisabled = !button->isEnabled();
                pairing->findChild<QToolButton*>("CloseButton")->click();
            }
        });
        driver.start(50);
        // Space on the home page with the one receiver: pairing (no firmware offer without images).
        QTest::keyClick(&window, Qt::Key_Space);
        driver.stop();
        QCOMPARE(PairResult.load(), 2);
        QCOMPARE(finalText, QString("Paired"));
        QVERIFY(buttonDisabled);
        QVERIFY(!PairConnectionOpen);
        QVERIFY(HidSim::CallLog().contains("UsbServer_EnterDonglePairOnlyCid(35)"));
        // The home page's hot-plug callback is registered again: the grid follows the devices.
        QVERIFY(HidSim::Unplug("receiver"));
        QTRY_VERIFY_WITH_TIMEOUT(TileButtons.isEmpty(), kWaitMs);
        QVERIFY(HidSim::Plug("receiver"));
        WaitForTile();
    }
};

QTEST_MAIN(TstMainRoad)
#include "tst_mainroad.moc"
