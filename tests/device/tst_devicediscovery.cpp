// Finding devices and matching them to the product table.
#include <QtTest>

#include "DeviceFixture.h"
#include "ProductTables.h"
#include "core/DeviceProductTable.h"
#include "device/Worker.h"

class TestDeviceDiscovery : public QObject {
    Q_OBJECT

private:
    static DeviceAllInfo ReceiverRecord() {
        DeviceAllInfo info;
        info.Path = HidSim::PathOf(DeviceFixture::ReceiverName()).toLocal8Bit();
        return info;
    }

private slots:
    void init() { DeviceFixture::Init(); }

    void defaultReceiverIsFoundAndMatched() {
        DeviceDiscovery::ScanHomeDevices();
        QCOMPARE(FoundDevices.size(), 1);
        QCOMPARE(FoundDevicesMirror.size(), 1);
        const DeviceAllInfo& receiver = FoundDevices.first();
        QCOMPARE(receiver.Vid, QString("3A1B"));
        QCOMPARE(receiver.Pid, QString("6008"));
        QCOMPARE(int(receiver.CidMidWord), 0x0623);
        QCOMPARE(int(receiver.Type), 5);
        QCOMPARE(receiver.DriveIndex, 0);
        QVERIFY(!receiver.IsUsb);
        QVERIFY(receiver.Online);
        QVERIFY(receiver.Version.startsWith('v'));
        QCOMPARE(Wireless8Pids, QStringList{"6008"});
    }

    void identificationAnswersOfZeros_data() {
        QTest::addColumn<int>("failures");
        QTest::addColumn<bool>("matched");
        QTest::newRow("answers at once") << 0 << true;
        QTest::newRow("ninth answer valid") << 8 << true;
        QTest::newRow("only the tenth valid") << 9 << false;
        QTest::newRow("never") << 20 << false;
    }

    void identificationAnswersOfZeros() {
        QFETCH(int, failures);
        QFETCH(bool, matched);
        QVERIFY(DeviceFixture::LoadDefaultWith(QString("\"infoZeros\": %1").arg(failures)));
        DeviceAllInfo info = ReceiverRecord();
        QVERIFY(DeviceDiscovery::MatchHomeDevice(info));
        QCOMPARE(info.DriveIndex, matched ? 0 : 2);
        QCOMPARE(int(info.CidMidWord), matched ? 0x0623 : 0);
        QVERIFY(!info.IsUsb);
    }

    void unmatchedDevices_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("workerResult");
        const QString otherMid =
            "[Option]\nDeviceTotal=2\nCID=MzU=\nVID=M0ExQg==\nWireless8_PID=NjAwOA==\n"
            "[Drive1]\nMID=9\n[Drive2]\nMID=7\n";
        const QString otherCid =
            "[Option]\nDeviceTotal=2\nCID=MzY=\nVID=M0ExQg==\nWireless8_PID=NjAwOA==\n"
            "[Drive1]\nMID=6\n[Drive2]\nMID=7\n";
        QTest::newRow("MID of no section") << otherMid << 2;
        QTest::newRow("other CID") << otherCid << 3;
    }

    void unmatchedDevices() {
        QFETCH(QString, table);
        QFETCH(int, workerResult);
        const QString path = TestEnv::FreshDir("unmatched") + "/Config.ini";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(table.toUtf8());
        file.close();
        DeviceFixture::Init(path);

        DeviceDiscovery::ScanHomeDevices();
        QCOMPARE(FoundDevices.size(), 1);
        QCOMPARE(FoundDevices.first().DriveIndex, 2);
        QCOMPARE(int(FoundDevices.first().CidMidWord), 0);
        QCOMPARE(int(FoundDevices.first().Type), 0);

        Worker worker;
        DeviceAllInfo info = ReceiverRecord();
        QCOMPARE(worker.MatchConfigDevice(info, info.Path.constData()), workerResult);
        QCOMPARE(info.DriveIndex, 2);
    }

    void firstOfTwoEqualSectionsWins() {
        const QString path = TestEnv::FreshDir("twins") + "/Config.ini";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "[Option]\nDeviceTotal=2\nCID=MzU=\nVID=M0ExQg==\nWireless8_PID=NjAwOA==\n"
            "[Drive1]\nMID=6\n[Drive2]\nMID=6\n");
        file.close();
        DeviceFixture::Init(path);
        DeviceAllInfo info = ReceiverRecord();
        QVERIFY(DeviceDiscovery::MatchHomeDevice(info));
        QCOMPARE(info.DriveIndex, 0);
    }

    void noSectionsMatchesNothing() {
        const QString path = TestEnv::FreshDir("empty") + "/Config.ini";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Option]\nDeviceTotal=0\nCID=MzU=\nVID=M0ExQg==\nWireless8_PID=NjAwOA==\n");
        file.close();
        DeviceFixture::Init(path);
        DeviceAllInfo info = ReceiverRecord();
        QVERIFY(!DeviceDiscovery::MatchHomeDevice(info));
        DeviceDiscovery::ScanHomeDevices();
        QVERIFY(FoundDevices.isEmpty());
    }

    // A damaged count never walks past the sections that exist; a smaller count still hides the rest.
    void sectionCountIsBoundedByTheTable_data() {
        QTest::addColumn<QString>("declared");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("mid");
        QTest::addColumn<int>("driveIndex");
        QTest::newRow("huge, first model") << "2000000000" << 2 << 6 << 0;
        QTest::newRow("huge, second model") << "2000000000" << 2 << 7 << 1;
        QTest::newRow("huge, unknown model") << "2000000000" << 2 << 9 << 2;
        QTest::newRow("one of two sections") << "1" << 1 << 7 << 1;
        QTest::newRow("negative") << "-5" << 0 << 6 << 0;
    }

    void sectionCountIsBoundedByTheTable() {
        QFETCH(QString, declared);
        QFETCH(int, total);
        QFETCH(int, mid);
        QFETCH(int, driveIndex);
        DeviceFixture::Init(ProductTables::Write("total", "", "", "", declared));
        QVERIFY(HidSim::LoadDescription(
            QString(R"({"devices": [{"name": "receiver", "kind": "receiver", "class": 8, "mid": %1}]})")
                .arg(mid)
                .toUtf8()));
        QCOMPARE(DeviceProductTable::DeviceTotal(), total);
        DeviceDiscovery::ScanHomeDevices();
        QCOMPARE(FoundDevices.size(), total > 0 ? 1 : 0);
        if (total > 0) QCOMPARE(FoundDevices.first().DriveIndex, driveIndex);
    }

    void emptyPidItemsAreSkipped() {
        DeviceFixture::Init(ProductTables::Write(
            "pids", "", "",
            "USB_PID=NTAwMQ==\nWireless_PID=NjAwMQ==\nWireless2_PID=\nWireless8_PID=NjAwOA==\n"));
        QCOMPARE(DeviceProductTable::EnumerationPids(), QStringList({"5001", "6001", "6008"}));
    }

    void receiverClasses_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("receiverClass");
        QTest::newRow("1K") << 0 << 1;
        QTest::newRow("2K") << 4 << 2;
        QTest::newRow("4K") << 1 << 4;
        QTest::newRow("8K") << 5 << 8;
        QTest::newRow("mouse on its cable") << 2 << 0;
    }

    void receiverClasses() {
        QFETCH(int, type);
        QFETCH(int, receiverClass);
        QCOMPARE(DeviceProductTable::ReceiverClass(type), receiverClass);
    }

    void linkRefreshReadsTheReply() {
        DeviceDiscovery::ScanHomeDevices();
        FoundDevices[0].ReceiverId = {9, 9, 9, 9};
        FoundDevices[0].Online = false;
        QVERIFY(DeviceDiscovery::RefreshDeviceLinkState(0));
        QCOMPARE(FoundDevices[0].ReceiverId.size(), 3);
        QCOMPARE(FoundDevices[0].ReceiverId,
                 QVector<quint8>({HomeLinkReply.ReceiverId[0], HomeLinkReply.ReceiverId[1],
                                  HomeLinkReply.ReceiverId[2]}));
        QVERIFY(FoundDevices[0].Online);
        QCOMPARE(FoundDevicesMirror[0].ReceiverId, FoundDevices[0].ReceiverId);

        QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        QVERIFY(DeviceDiscovery::RefreshDeviceEntry(0));
        QVERIFY(!FoundDevices[0].Online);
        QCOMPARE(FoundDevices[0].DriveIndex, 0);
        QVERIFY(!DeviceDiscovery::RefreshDeviceLinkState(5));
        QVERIFY(!DeviceDiscovery::RefreshDeviceEntry(-1));
    }

    void mirrorFollowsThePathAfterTheGridRemovedEntries() {
        DeviceAllInfo other;
        other.Path = "elsewhere";
        DeviceDiscovery::ScanHomeDevices();
        FoundDevicesMirror.prepend(other);
        QVERIFY(DeviceDiscovery::RefreshDeviceEntry(0));
        QCOMPARE(FoundDevicesMirror.size(), 2);
        QCOMPARE(FoundDevicesMirror[0].Path, QByteArray("elsewhere"));
        QCOMPARE(FoundDevicesMirror[1].Path, FoundDevices[0].Path);
    }
};

QTEST_MAIN(TestDeviceDiscovery)
#include "tst_devicediscovery.moc"
