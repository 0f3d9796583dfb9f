// The main road through the real top-level window against the simulated receiver and mouse: home page,
// tile click, settings read, summary page, a change reaching the mouse, the light page, unplugging, the
// cache file with the mouse asleep, and pairing.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "DeviceFixture.h"
#include "FirmwareFixture.h"
#include "RoadFixture.h"
#include "TestEnv.h"
#include "app/Dialog.h"
#include "app/DialogMain.h"
#include "core/DeviceAllInfo.h"
#include "core/MacroIni.h"
#include "core/PostMsg.h"
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
#include "lighting/LampLight.h"
#include "platform/Paths.h"
#include "platform/RegistryStore.h"
#include "sensor/ReportRates.h"
#include "sensor/Sensor.h"
#include "sensor/SensorDPI.h"
#include "sensor/SensorHeader.h"
#include "ui_DialogChange.h"
#include "ui_PreVier.h"
#include "widgets/mytoolButtonEnter.h"

namespace {
constexpr int kWaitMs = 20000;

using DeviceFixture::MouseImage;

// Report rate of a ReportRateCode; 0 for an unknown code.
int ReportRateHz(int code) {
    const int index = ReportRateIndexOfCode(code);
    return index < 0 ? 0 : kReportRates[size_t(index)].hz;
}

// Lift-off distance text of a LodCode as the sensor page lists it.
QString LodText(int code) {
    switch (code) {
        case 1:
            return "1mm";
        case 2:
            return "2mm";
        case 3:
            return "0.7mm";
        default:
            return QString();
    }
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
    void init() { RoadFixture::BeginDefaultRoad(&waits_); }

    void cleanup() { RoadFixture::EndRoad(); }

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
        QVERIFY(DeviceWindow.Active());

        const FlashDataMap image = MouseImage();
        QCOMPARE(SummaryText(window, "DpiValue"),
                 QString::number(DecodeLevelDpi(image.DpiLevels[image.CurrentDpiLevel])));
        QCOMPARE(SummaryText(window, "ReportValue"),
                 QString::number(ReportRateHz(image.ReportRateCode)) + "Hz");
        QCOMPARE(SummaryText(window, "LodValue"), LodText(image.LodCode));
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
                                  QString::number(DecodeLevelDpi(before.DpiLevels[next])), kWaitMs);
    }

    // The light page shows the mouse's light after the read, whose wait ends on the page's own mark;
    // a change on the page reaches the flash, and a change made on the mouse shows on the page.
    void lightPageShowsAndChangesTheMouseLight() {
        DialogMain window;
        window.show();
        QSignalSpy offline(PostMsg::GetInstance(), &PostMsg::SigMouseOffLineo);
        ReadSettings(window);
        window.findChild<Dialog*>()->findChild<QToolButton*>("LightsButton")->click();
        LampLight* page = window.findChild<LampLight*>();
        QVERIFY(page);
        QVERIFY(page->isVisible());

        // The read's wait ended on the pages' marks, the light page's among them: it found them all
        // (and cleared them) instead of asking for the offline notice.
        QCOMPARE(offline.count(), 0);
        QVERIFY(!LightPageRefreshed);

        const FlashDataMap image = MouseImage();
        auto* mode = page->findChild<QComboBox*>("LightMod");
        QCOMPARE(mode->currentIndex(), image.MouseLightEnable ? int(image.MouseLightMode) : 0);
        QCOMPARE(page->findChild<QSpinBox*>("RSpinBox")->value(), int(image.MouseLightRed));
        QCOMPARE(page->findChild<QSlider*>("horizontalLight")->value(), image.MouseLightBrightness + 1);
        QCOMPARE(page->findChild<QToolButton*>("RippeControl")->isChecked(), image.MovingOffLight != 0);

        // A change on the page reaches the flash.
        const int other = mode->currentIndex() == 2 ? 3 : 2;
        mode->setCurrentIndex(other);
        QTRY_COMPARE_WITH_TIMEOUT(int(MouseImage().MouseLightMode), other, kWaitMs);
        QCOMPARE(int(MouseImage().MouseLightEnable), 1);
        page->findChild<QSpinBox*>("GSpinBox")->setValue(99);
        QTRY_COMPARE_WITH_TIMEOUT(int(MouseImage().MouseLightGreen), 99, kWaitMs);

        // A change made on the mouse shows on the page.
        QVERIFY(HidSim::SetMouseLight("mouse", QByteArray("\x05\x01\x02\x03\x00\x09\x01", 7)));
        QTRY_COMPARE_WITH_TIMEOUT(mode->currentIndex(), 5, kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(page->findChild<QSpinBox*>("BSpinBox")->value(), 3, kWaitMs);
        QCOMPARE(page->findChild<QSlider*>("horizontalLight")->value(), 10);
        const int dpiMode = MouseImage().DpiLightMode == 2 ? 1 : 2;
        QVERIFY(HidSim::SetDpiLight("mouse", QByteArray(1, char(dpiMode)) + QByteArray("\xb4\x04\x01", 3)));
        QTRY_COMPARE_WITH_TIMEOUT(page->findChild<QComboBox*>("Model")->currentIndex(), dpiMode, kWaitMs);
        QCOMPARE(page->findChild<QSpinBox*>("LightSpinBox")->value(), 7);
        QCOMPARE(page->findChild<QSpinBox*>("SpeedSpinBox")->value(), 4);
        // Showing what the mouse changed sends nothing back.
        const FlashDataMap after = MouseImage();
        QCOMPARE(int(after.MouseLightMode), 5);
        QCOMPARE(int(after.DpiLightBrightness), 180);
    }

    void sensorPageShowsAndChangesTheMouseLevels() {
        DialogMain window;
        window.show();
        ReadSettings(window);
        auto* dpi = window.findChild<Sensor*>()->findChild<SensorDPI*>("frameDpi");
        QVERIFY(dpi);
        const FlashDataMap image = MouseImage();
        QCOMPARE(dpi->CurrentLevel, int(image.CurrentDpiLevel));
        for (int i = 0; i < image.DpiLevelCount; ++i)
            QCOMPARE(dpi->LevelValue(i), DecodeLevelDpi(image.DpiLevels[i]));

        // A click on the slider's track sets the current level's value on the mouse.
        const int level = image.CurrentDpiLevel;
        const int value = DecodeLevelDpi(image.DpiLevels[level]) == 2000 ? 2400 : 2000;
        dpi->findChild<QSlider*>("horizontalSliderC")->setValue(value);
        QTRY_COMPARE_WITH_TIMEOUT(DecodeLevelDpi(MouseImage().DpiLevels[level]), value, kWaitMs);
        QCOMPARE(SummaryText(window, "DpiValue"), QString::number(value));

        // The DPI button on the mouse moves the page's current level and the summary.
        const int next = (level + 1) % image.DpiLevelCount;
        QVERIFY(HidSim::PressDpiButton("mouse"));
        QTRY_COMPARE_WITH_TIMEOUT(dpi->CurrentLevel, next, kWaitMs);
        QCOMPARE(SummaryText(window, "DpiValue"), QString::number(dpi->LevelValue(next)));
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
                         QString::number(DecodeLevelDpi(cached.DpiLevels[3])));
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
