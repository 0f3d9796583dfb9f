// A whole connection with the simulated default devices: the library's own threads, the hub's
// blocking deliveries, the light page and marks standing for the other pages.
#include <QSignalSpy>
#include <QtTest>

#include "ButtonPageMarks.h"
#include "DeviceFixture.h"
#include "SensorPageMarks.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "device/DeviceInfoFile.h"
#include "device/Worker.h"
#include "lighting/LampLight.h"

class TestDeviceLink : public QObject {
    Q_OBJECT

private:
    SensorPageMarks* pages_ = nullptr;
    LampLight* light_ = nullptr;
    ButtonPageMarks* buttons_ = nullptr;
    QString mouse_;
    DeviceAllInfo receiver_;

    // What the tile click and the top-level window do when the mouse is chosen.
    void ChooseAndConnect() {
        PostMsg::GetInstance()->EmitSigSelectMouseInfo(receiver_);
        StartUsbChanged(DeviceUsbChangedCallback, 600);
        DeviceWindow.Enter();
        WorkerRunEnable = true;
        DeviceWorker->start();
    }

    void LeaveDeviceWindow() {
        QTRY_VERIFY(DeviceWorker->isFinished());
        QTRY_VERIFY(!CurrentDeviceCopy().MouseVersion.isEmpty());  // the whole read has been handled
        UsbServer_SetPCDriverStatus(0);
        WriteDeviceInfoFile(DeviceInfoSaveName(), DeviceFixture::ImageNow());
        UsbServer_Exit();
        DeviceWindow.Leave();
        PostMsg::GetInstance()->EmitSigMainPageChange();
        StopUsbChanged();
    }

    // The pages and the device thread object, as the device window makes them.
    void MakePages() {
        pages_ = new SensorPageMarks;
        buttons_ = new ButtonPageMarks;
        light_ = new LampLight;
        DeviceWorker = new Worker;
        DeviceWorker->PollTimer()->stop();
    }

    void DropPages() {
        delete DeviceWorker;
        DeviceWorker = nullptr;
        delete light_;
        light_ = nullptr;
        delete buttons_;
        buttons_ = nullptr;
        delete pages_;
        pages_ = nullptr;
    }

private slots:
    void init() {
        DeviceFixture::Init();
        mouse_ = DeviceFixture::MouseName();
        receiver_ = DeviceFixture::FindDefaultReceiver();
        MakePages();
    }

    void cleanup() {
        UsbServer_Exit();
        StopUsbChanged();
        DropPages();
    }

    void connectionReadsTheWholeImage() {
        ChooseAndConnect();
        QTRY_VERIFY(FlashDataFromDevice);
        QTRY_VERIFY(ButtonPageRefreshed && LightPageRefreshed && SensorPageRefreshed);
        QVERIFY(DeviceAnswered);
        FlashDataMap expected{};
        const QByteArray flash = HidSim::Flash(mouse_);
        QVERIFY(ProtocolDataParser(reinterpret_cast<const unsigned char*>(flash.constData()), &expected));
        QVERIFY(std::memcmp(&buttons_->Image, &expected, sizeof expected) == 0);
        QVERIFY(std::memcmp(&pages_->SensorImage, &expected, sizeof expected) == 0);
        QCOMPARE(CurrentDevicePathCopy(), receiver_.Path);
        QTRY_VERIFY(!CurrentDeviceCopy().MouseVersion.isEmpty());
    }

    void senderChangeReachesTheFlashAndSurvivesRestart() {
        ChooseAndConnect();
        QTRY_VERIFY(FlashDataFromDevice);
        QTRY_VERIFY(DeviceWorker->isFinished());
        QVERIFY(SetDpiLevelColor(1, 12, 34, 56));
        QVERIFY(SetSleepTime(60));
        LeaveDeviceWindow();
        HidSim::Restart();
        const QByteArray flash = HidSim::Flash(mouse_);
        FlashDataMap parsed{};
        QVERIFY(ProtocolDataParser(reinterpret_cast<const unsigned char*>(flash.constData()), &parsed));
        QCOMPARE(int(parsed.DpiLevels[1].ColorG), 34);
        QCOMPARE(int(parsed.SleepTimeCode), 60);
    }

    void dpiButtonOnTheMouseReachesTheImage() {
        ChooseAndConnect();
        QTRY_VERIFY(FlashDataFromDevice);
        QTRY_VERIFY(DeviceWorker->isFinished());
        // The pages have taken the dump and its follow-up reports have arrived.
        QTRY_VERIFY(ButtonPageRefreshed && LightPageRefreshed && SensorPageRefreshed);
        QTRY_VERIFY(!CurrentDeviceCopy().MouseVersion.isEmpty());
        const FlashDataMap before = DeviceFixture::ImageNow();
        QSignalSpy dpi(PostMsg::GetInstance(), SIGNAL(SigUpDataDPI(int)));
        QVERIFY(HidSim::PressDpiButton(mouse_));
        const int expected =
            before.DpiLevelCount > 0 ? (before.CurrentDpiLevel + 1) % before.DpiLevelCount : 0;
        QTRY_COMPARE(int(DeviceFixture::ImageNow().CurrentDpiLevel), expected);
        QTRY_COMPARE(int(DeviceFixture::LastHandedImage().CurrentDpiLevel), expected);
    }

    void offlineMouseShowsItsModelsCache() {
        ChooseAndConnect();
        QTRY_VERIFY(FlashDataFromDevice);
        QVERIFY(SetLod(2));
        LeaveDeviceWindow();
        QVERIFY(QFileInfo::exists(DeviceInfoFilePath(0x0623)));

        // A new start of the program with the mouse asleep.
        DropPages();
        DeviceFixture::ResetLinkState();
        MakePages();
        QVERIFY(HidSim::Sleep(mouse_));
        receiver_ = DeviceFixture::FindDefaultReceiver();
        ChooseAndConnect();
        QTRY_COMPARE(buttons_->Fills, 1);
        QTRY_VERIFY(DeviceWorker->isFinished());
        QCOMPARE(int(buttons_->Image.LodCode), 2);
        QCOMPARE(int(pages_->SensorImage.LodCode), 2);
        QVERIFY(DeviceOfflineShown);

        // The mouse comes back while the pages show the cache: nothing is sent before a fresh read.
        // The connection is closed first so that the read left waiting for the mouse cannot arrive
        // between the checks below.
        UsbServer_Exit();
        QVERIFY(HidSim::Wake(mouse_));
        QTRY_VERIFY(UsbFinderC_GetDeviceOnLine(CurrentDevicePathCopy().constData()));
        const QByteArray flash = HidSim::Flash(mouse_);
        QVERIFY(!FlashDataFromDevice);
        QVERIFY(!SetLod(1));
        QCOMPARE(HidSim::Flash(mouse_), flash);
        DeviceWorker->SlotCheckOnline();
        QTRY_VERIFY(FlashDataFromDevice);
        QTRY_VERIFY(DeviceWorker->isFinished());
        QVERIFY(SetLod(1));
    }
};

QTEST_MAIN(TestDeviceLink)
#include "tst_devicelink.moc"
