#include <QThread>
#include <QtTest>
#include <atomic>
#include <cstring>

#include "HelperThread.h"
#include "core/PostMsg.h"

namespace {

// A page-like receiver on the GUI thread that records what reached it, on which thread, in which order.
class Receiver : public QObject {
    Q_OBJECT
public:
    explicit Receiver(QStringList* log, const QString& name) : Log(log), Name(name) {}
    QStringList* Log;
    QString Name;
    QThread* SlotThread = nullptr;
    FlashDataMap Image{};
    DongleRGB* Rgb = nullptr;
    QString Text;
    int Number = -1;
    bool Flag = false;

public slots:
    void SlotImage(FlashDataMap DataMap) {
        Record("image");
        Image = DataMap;
    }
    void SlotBattery(bool IsCharg, int Number_, bool IsText) {
        Record("battery");
        Flag = IsCharg && IsText;
        Number = Number_;
    }
    void SlotRGBValue(DongleRGB* Rgb_) {
        Record("rgb");
        Rgb = Rgb_;
    }
    void SlotFormReset() { Record("reset"); }
    void SlotSetver(int index) {
        Record("setver");
        Number = index;
    }
    void SlotSelect(DeviceAllInfo info) {
        Record("select");
        Text = QString::fromLatin1(info.Path);
    }
    void SlotLabelText(int index, QString text) {
        Record("label");
        Number = index;
        Text = text;
    }

private:
    void Record(const QString& what) {
        SlotThread = QThread::currentThread();
        Log->append(Name + ":" + what);
    }
};

FlashDataMap PatternImage() {
    FlashDataMap image;
    auto* bytes = reinterpret_cast<unsigned char*>(&image);
    for (size_t i = 0; i < sizeof(image); ++i) bytes[i] = static_cast<unsigned char>(i * 7 + 3);
    return image;
}

}  // namespace

class TstPostHub : public QObject {
    Q_OBJECT
private slots:
    void signalsInIndexOrder() {
        // Receivers connect by these exact texts; the order is the hub's signal index.
        const QStringList expected = {
            "SigChangeMainDialog(int)",
            "SigChangeSize(int)",
            "SigUpDataConfigUI(int,int,bool)",
            "SigUpDataLightUIButton(FlashDataMap)",
            "SigUpDataLightLight(FlashDataMap)",
            "SigUpDataLightSensor(FlashDataMap)",
            "SigUpDataLightUIA(FlashDataMap)",
            "SigUpDataSensorUIB(FlashDataMap)",
            "SigUpDataButtonUIC(FlashDataMap)",
            "SigButtonToMacro(FlashDataMap,int)",
            "SigSelectMouseInfo(DeviceAllInfo)",
            "SigMouseOffLineo(int)",
            "SigMainPageChange()",
            "SigSecondPageChange()",
            "SigUpPageLight()",
            "SigAddMacroButton()",
            "SigDeleteMacroButton(QString)",
            "SigMacroDownLoadData(QString,int)",
            "SigUpDataMacro(QString,int)",
            "SigUpDataParam(int)",
            "SigUpDataReportRate(int)",
            "SigUpDataDPI(int)",
            "SigUpDataDPILed(FlashDataMap)",
            "SigTimerStop()",
            "SigButtonEnable(int)",
            "SigLabelText(int,QString)",
            "SigLabelTextB(QString,QString)",
            "SigCloseUpdate()",
            "SigProgress(int,int)",
            "SigBattery(bool,int,bool)",
            "SigAutoRepair(int)",
            "SigAutoRepairProgress(int)",
            "SigChangeLanguage(int)",
            "SigLanguageSameA(int)",
            "SigLanguageSameB(int)",
            "SigCloseOffOnline()",
            "SigSetMacroPage()",
            "SigStartRecord(int)",
            "SigUpDateButton(bool)",
            "SigMacroRename(QString,QString)",
            "SigSetver(int)",
            "SigCloseProgress()",
            "SigRGBValue(DongleRGB*)",
            "SigLongRangeMode(bool)",
            "SigForm()",
            "SigFormB()",
            "SigEnterKey()",
            "SigFormReset()",
            "SigHideModel(int)",
            "SigContinue(int)",
            "SigMouseIndex(int)",
            "SigUpdateStart()",
            "SigCheckUpdate()",
            "SigRepairCheckUpdate()",
            "SigSetNewVer()",
            "SigLightToFrom(int)",
            "SigButtonCheck()",
            "SigAllLanguage(int)",
            "SigUpdateFrame(bool)",
            "SigAddSensor(int)",
            "SigAddReport(int)",
            "SigAddLOD(QString)",
            "SigDebunce(QString)",
            "SigAddConfig(QString)",
            "SigAddVer(int,QString)",
            "SigAddUpdate(int,bool)",
            "Sig20KOpen(bool)",
            "SigtVis(int)",
            "SigIsUsb(bool,bool)",
        };
        QCOMPARE(expected.size(), 69);
        const QMetaObject& meta = PostMsg::staticMetaObject;
        QStringList actual;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            if (meta.method(i).methodType() == QMetaMethod::Signal)
                actual << QString::fromLatin1(meta.method(i).methodSignature());
        }
        QCOMPARE(actual, expected);
    }

    void connectionType_data() {
        QTest::addColumn<QByteArray>("signal");
        QTest::addColumn<int>("type");
        const int blocking = Qt::BlockingQueuedConnection;
        const int automatic = Qt::AutoConnection;
        QTest::newRow("image to the button page")
            << QByteArray(SIGNAL(SigUpDataLightUIButton(FlashDataMap))) << blocking;
        QTest::newRow("image to sensor pages") << QByteArray("SigUpDataLightSensor") << blocking;
        QTest::newRow("configuration report")
            << QByteArray(SIGNAL(SigUpDataConfigUI(int, int, bool))) << blocking;
        QTest::newRow("battery") << QByteArray(SIGNAL(SigBattery(bool, int, bool))) << blocking;
        QTest::newRow("receiver record") << QByteArray(SIGNAL(SigRGBValue(DongleRGB*))) << blocking;
        QTest::newRow("form") << QByteArray(SIGNAL(SigForm())) << blocking;
        QTest::newRow("form reset") << QByteArray(SIGNAL(SigFormReset())) << blocking;
        QTest::newRow("form from the wait dialog") << QByteArray(SIGNAL(SigFormB())) << automatic;
        QTest::newRow("imported image") << QByteArray(SIGNAL(SigUpDataLightUIA(FlashDataMap))) << automatic;
        QTest::newRow("cable flag") << QByteArray(SIGNAL(SigIsUsb(bool, bool))) << automatic;
        QTest::newRow("versions") << QByteArray("SigSetver") << automatic;
        QTest::newRow("parameter wait") << QByteArray(SIGNAL(SigUpDataParam(int))) << automatic;
        QTest::newRow("page switch") << QByteArray(SIGNAL(SigChangeMainDialog(int))) << automatic;
        QTest::newRow("languages") << QByteArray(SIGNAL(SigAllLanguage(int))) << automatic;
    }
    void connectionType() {
        QFETCH(QByteArray, signal);
        QFETCH(int, type);
        QCOMPARE(int(PostMsg::ConnectionType(signal.constData())), type);
    }

    void sameInstanceFromEveryThread() {
        PostMsg* gui = PostMsg::GetInstance();
        PostMsg* other = nullptr;
        RunOnHelperThread([&] { other = PostMsg::GetInstance(); });
        QCOMPARE(other, gui);
        QCOMPARE(gui->thread(), QCoreApplication::instance()->thread());
    }

    void blockingDeliveryWaitsForEveryReceiver() {
        QStringList log;
        Receiver advanced(&log, "advanced");
        Receiver sensor(&log, "sensor");
        QVERIFY(PostMsg::Connect(SIGNAL(SigUpDataLightSensor(FlashDataMap)), &advanced,
                                 SLOT(SlotImage(FlashDataMap))));
        QVERIFY(PostMsg::Connect(SIGNAL(SigUpDataLightSensor(FlashDataMap)), &sensor,
                                 SLOT(SlotImage(FlashDataMap))));
        QVERIFY(PostMsg::Connect(SIGNAL(SigBattery(bool, int, bool)), &sensor,
                                 SLOT(SlotBattery(bool, int, bool))));
        QVERIFY(PostMsg::Connect(SIGNAL(SigRGBValue(DongleRGB*)), &sensor, SLOT(SlotRGBValue(DongleRGB*))));
        QVERIFY(PostMsg::Connect(SIGNAL(SigFormReset()), &advanced, SLOT(SlotFormReset())));

        const FlashDataMap image = PatternImage();
        DongleRGB record{};
        QStringList seenByEmitter;
        RunOnHelperThread([&] {
            FlashDataMap local = image;
            PostMsg::GetInstance()->EmitSigUpDataLightSensor(local);
            std::memset(&local, 0, sizeof(local));  // the receivers copied it before the emit returned
            seenByEmitter << log.join(",");
            PostMsg::GetInstance()->EmitSigBattery(true, 73, true);
            seenByEmitter << log.join(",");
            PostMsg::GetInstance()->EmitSigRGBValue(&record);
            PostMsg::GetInstance()->EmitSigFormReset();
            seenByEmitter << log.join(",");
        });

        QCOMPARE(seenByEmitter.value(0), QString("advanced:image,sensor:image"));
        QCOMPARE(seenByEmitter.value(1), QString("advanced:image,sensor:image,sensor:battery"));
        QCOMPARE(seenByEmitter.value(2),
                 QString("advanced:image,sensor:image,sensor:battery,sensor:rgb,advanced:reset"));
        QCOMPARE(advanced.SlotThread, QThread::currentThread());
        QCOMPARE(sensor.SlotThread, QThread::currentThread());
        QVERIFY(std::memcmp(&advanced.Image, &image, sizeof(image)) == 0);
        QVERIFY(std::memcmp(&sensor.Image, &image, sizeof(image)) == 0);
        QCOMPARE(sensor.Number, 73);
        QVERIFY(sensor.Flag);
        QCOMPARE(sensor.Rgb, &record);
    }

    void automaticDeliveryFromThreadIsQueued() {
        QStringList log;
        Receiver page(&log, "page");
        QVERIFY(PostMsg::Connect(SIGNAL(SigSetver(int)), &page, SLOT(SlotSetver(int))));
        QVERIFY(
            PostMsg::Connect(SIGNAL(SigLabelText(int, QString)), &page, SLOT(SlotLabelText(int, QString))));
        QVERIFY(
            PostMsg::Connect(SIGNAL(SigUpDataLightUIA(FlashDataMap)), &page, SLOT(SlotImage(FlashDataMap))));
        QVERIFY(PostMsg::Connect(SIGNAL(SigSelectMouseInfo(DeviceAllInfo)), &page,
                                 SLOT(SlotSelect(DeviceAllInfo))));

        const FlashDataMap image = PatternImage();
        std::atomic<int> seenByEmitter{-1};
        QThread* thread = QThread::create([&] {
            PostMsg::GetInstance()->EmitSigSetver(4);
            PostMsg::GetInstance()->EmitSigLabelText(2, "47 %");
            PostMsg::GetInstance()->EmitSigUpDataLightUIA(image);
            DeviceAllInfo info;
            info.Path = "/dev/hidraw3";
            PostMsg::GetInstance()->EmitSigSelectMouseInfo(info);
            seenByEmitter = log.size();
        });
        thread->start();
        QVERIFY(thread->wait(10000));  // the GUI thread handles no events meanwhile: nothing may block
        delete thread;
        QCOMPARE(seenByEmitter.load(), 0);
        QTRY_COMPARE(log.size(), 4);
        QCOMPARE(log, QStringList({"page:setver", "page:label", "page:image", "page:select"}));
        QCOMPARE(page.Text, QString("/dev/hidraw3"));
        QVERIFY(std::memcmp(&page.Image, &image, sizeof(image)) == 0);
        QCOMPARE(page.SlotThread, QThread::currentThread());
    }

    void automaticDeliveryOnGuiThreadIsDirect() {
        QStringList log;
        Receiver page(&log, "page");
        QVERIFY(PostMsg::Connect(SIGNAL(SigSetver(int)), &page, SLOT(SlotSetver(int))));
        PostMsg::GetInstance()->EmitSigSetver(6);
        QCOMPARE(log, QStringList({"page:setver"}));
        QCOMPARE(page.Number, 6);
    }

    void blockingSignalOnGuiThreadIsRefusedNotHung() {
        QStringList log;
        Receiver page(&log, "page");
        QVERIFY(PostMsg::Connect(SIGNAL(SigFormReset()), &page, SLOT(SlotFormReset())));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("SigFormReset.*GUI thread"));
        PostMsg::GetInstance()->EmitSigFormReset();
        QVERIFY(log.isEmpty());
    }

    void destroyedReceiverGetsNothing() {
        QStringList log;
        {
            Receiver dialog(&log, "first");
            QVERIFY(PostMsg::Connect(SIGNAL(SigSetver(int)), &dialog, SLOT(SlotSetver(int))));
        }
        Receiver again(&log, "second");
        QVERIFY(PostMsg::Connect(SIGNAL(SigSetver(int)), &again, SLOT(SlotSetver(int))));
        PostMsg::GetInstance()->EmitSigSetver(1);
        QCOMPARE(log, QStringList({"second:setver"}));
    }

    void unknownSlotConnectsNothing() {
        QStringList log;
        Receiver page(&log, "page");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("No such slot"));
        QVERIFY(!PostMsg::Connect(SIGNAL(SigButtonCheck()), &page, SLOT(SlotButtonCheck())));
        PostMsg::GetInstance()->EmitSigButtonCheck();
        QVERIFY(log.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstPostHub)
#include "tst_posthub.moc"
