// The failure record: one way of reading it, every device that may wait in boot mode kept on disk until
// its own stage succeeds; and the stages' own status callbacks.
#include <QtTest>
#include <atomic>

#include "FirmwareFixture.h"
#include "TestEnv.h"
#include "firmware/FailRecord.h"
#include "firmware/FlashStage.h"
#include "hidusb/HidSimControl.h"
#include "platform/RegistryStore.h"

namespace {
void SetRecord(const QString& text) {
    RegistryStore(RegistryStore::DriveTestKey()).SetValue("UpdateFailInfo", text);
}
FailRecordEntry Device(int type, int receiverClass = 8) {
    FailRecordEntry entry;
    entry.Type = type;
    entry.ReceiverClass = receiverClass;
    entry.Cid = FirmwareFixture::kCid;
    entry.Mid = FirmwareFixture::kMid;
    return entry;
}
}  // namespace

class TstFailRecord : public QObject {
    Q_OBJECT
private slots:
    void init() {
        RegistryStore::SetFilePath(TestEnv::FreshDir("registry") + "/registry.ini");
        FirmwareFixture::UseInstallation();
    }
    void cleanupTestCase() { FirmwareFixture::Restore(); }

    void spellings_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("read");  // read as 211,8,35,6
        QTest::newRow("plain") << "211,8,35,6" << true;
        QTest::newRow("leading zero in the class") << "211,08,35,6" << true;
        QTest::newRow("leading zeros everywhere") << "0211,008,035,006" << false;
        QTest::newRow("three digits at most") << "211,008,035,006" << true;
        QTest::newRow("spaces around the fields") << " 211, 8 ,35 , 6 " << true;
        QTest::newRow("a sign") << "211,8,35,+6" << false;
        QTest::newRow("three fields") << "211,8,35" << false;
        QTest::newRow("an empty field") << "211,,35,6" << false;
        QTest::newRow("hexadecimal") << "211,8,0x23,6" << false;
    }
    // Every reader reads one record alike: the home page's entry, the repair and the settings page.
    void spellings() {
        QFETCH(QString, text);
        QFETCH(bool, read);
        FailRecordEntry entry;
        const bool parsed = ParseFailRecordEntry(text, &entry);
        QCOMPARE(parsed && entry.Text() == "211,8,35,6", read);
        SetRecord(text);
        const QList<FailRecordEntry> entries = UpgradeFailRecordEntries();
        QCOMPARE(entries.size(), read ? 1 : 0);
        if (read) QCOMPARE(entries.first().ReceiverClass, 8);
        // Nothing answers: a record read is kept, one that cannot be read goes.
        QCOMPARE(PruneUpgradeFailRecord({}), read);
        QCOMPARE(UpgradeFailRecord().isEmpty(), !read);
    }

    // A repair killed in its receiver stage after a failed mouse update: both stay on disk, and each
    // success takes out only its own device.
    void everyDeviceStaysUntilItsStageSucceeds() {
        WriteUpgradeFailRecord(Device(210));                         // the mouse's update failed
        const QString before = WriteUpgradeFailRecord(Device(211));  // the repair's receiver stage starts
        QCOMPARE(before, QString("210,8,35,6"));
        QCOMPARE(UpgradeFailRecord(), QString("211,8,35,6;210,8,35,6"));
        // A start the library refused leaves the record as it was.
        RestoreUpgradeFailRecord(before);
        QCOMPARE(UpgradeFailRecord(), QString("210,8,35,6"));
        WriteUpgradeFailRecord(Device(211));
        RemoveUpgradeFailRecordOf(Device(211));
        QCOMPARE(UpgradeFailRecord(), QString("210,8,35,6"));
        // A receiver of another class is another device.
        WriteUpgradeFailRecord(Device(211, 4));
        RemoveUpgradeFailRecordOf(Device(211, 8));
        QCOMPARE(UpgradeFailRecord(), QString("211,4,35,6;210,8,35,6"));
        RemoveUpgradeFailRecordOf(Device(210, 0));  // a mouse is one device whatever class it names
        RemoveUpgradeFailRecordOf(Device(211, 4));
        QCOMPARE(UpgradeFailRecord(), QString());
        QVERIFY(!RegistryStore(RegistryStore::DriveTestKey()).Contains("UpdateFailInfo"));
    }

    // A status that comes after its stage has ended reaches no other stage, and the first end wins.
    void eachStageHasItsOwnCallback() {
        HidSim::SetStateDir(TestEnv::FreshDir("sim"));
        QVERIFY(HidSim::LoadDescription(R"({"devices": [{"name": "receiver", "kind": "receiver", "class": 8,
            "mouse": "mouse"}, {"name": "mouse", "kind": "mouse", "cable": true, "plugged": true}]})"));
        QVERIFY(HidSim::StallUpgradeAt("receiver", 0));
        QVERIFY(HidSim::StallUpgradeAt("mouse", 0));
        const FirmwareImage receiver = std::make_shared<const QByteArray>(
            FirmwareFixture::Image(211, 0x0106, FirmwareFixture::Receiver8Model()));
        const FirmwareImage mouse = std::make_shared<const QByteArray>(
            FirmwareFixture::Image(210, 0x0113, FirmwareFixture::MouseModel()));
        std::atomic<int> receiverEnds{0}, mouseEnds{0};
        const int first = StartFlashStage(receiver, [&](int what, int) { receiverEnds += what == 2; });
        QVERIFY(first != 0);
        QVERIFY(CloseFlashStage(first));  // its stall time-out
        QVERIFY(!CloseFlashStage(first));
        const int second = StartFlashStage(mouse, [&](int what, int) { mouseEnds += what == 2; });
        QVERIFY(second != 0 && second != first);
        QVERIFY(FlashStageCallback(first) != FlashStageCallback(second));
        const unsigned char success[3] = {7, 2, 1};
        FlashStageCallback(first)(success);  // the first stage's late final status
        QCOMPARE(receiverEnds.load(), 0);
        QCOMPARE(mouseEnds.load(), 0);
        QVERIFY(FlashStageOpen(second));
        FlashStageCallback(second)(success);
        QCOMPARE(mouseEnds.load(), 1);
        QVERIFY(!CloseFlashStage(second));  // the final status came first
        FlashStageCallback(second)(success);
        QCOMPARE(mouseEnds.load(), 1);
    }
};

QTEST_MAIN(TstFailRecord)
#include "tst_failrecord.moc"
