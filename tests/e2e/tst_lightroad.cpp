// The light page in the real top-level window against the simulated receiver and mouse: it shows the
// mouse's light after the settings read, the read's wait ends on the page's own mark, a change reaches
// the mouse's flash, and a change made on the mouse shows on the page.
#include <QComboBox>
#include <QDir>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include "TestEnv.h"
#include "app/Dialog.h"
#include "app/DialogMain.h"
#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "device/Worker.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/UpDataParam.h"
#include "hidusb/HIDUsb.h"
#include "hidusb/HidSimControl.h"
#include "home/DialogChange.h"
#include "lighting/LampLight.h"
#include "platform/Paths.h"
#include "platform/RegistryStore.h"
#include "widgets/mytoolButtonEnter.h"

namespace {
constexpr int kWaitMs = 20000;

FlashDataMap MouseImage() {
    FlashDataMap image{};
    const QByteArray flash = HidSim::Flash("mouse");
    ProtocolDataParser(reinterpret_cast<const unsigned char*>(flash.constData()), &image);
    return image;
}
}  // namespace

class TstLightRoad : public QObject {
    Q_OBJECT

private:
    QStringList waits_;

    // Clicks the tile, waits for the settings read to end and brings the light page to the front.
    void OpenLightPage(DialogMain& window) {
        QTRY_VERIFY_WITH_TIMEOUT(TileButtons.size() == 1, kWaitMs);
        TileButtons.first()->click();
        Dialog* device = window.findChild<Dialog*>();
        QTRY_VERIFY_WITH_TIMEOUT(waits_.contains("UpDataParam"), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!device->WaitDialog()->isVisible(), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(FlashDataFromDevice && DeviceWorker && DeviceWorker->isFinished(), kWaitMs);
        device->findChild<QToolButton*>("LightsButton")->click();
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

    void lightRoad() {
        DialogMain window;
        window.show();
        QSignalSpy offline(PostMsg::GetInstance(), &PostMsg::SigMouseOffLineo);
        OpenLightPage(window);
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
        QVERIFY(HidSim::SetDpiLight("mouse", QByteArray("\x01\xb4\x02\x01", 4)));
        QTRY_COMPARE_WITH_TIMEOUT(page->findChild<QComboBox*>("Model")->currentIndex(), 1, kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(page->findChild<QSpinBox*>("LightSpinBox")->value(), 7, kWaitMs);
        // Showing what the mouse changed sends nothing back.
        const FlashDataMap after = MouseImage();
        QCOMPARE(int(after.MouseLightMode), 5);
        QCOMPARE(int(after.DpiLightBrightness), 180);
    }
};

QTEST_MAIN(TstLightRoad)
#include "tst_lightroad.moc"
