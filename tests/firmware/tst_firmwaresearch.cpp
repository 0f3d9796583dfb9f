// The searches of the firmware folder: which file counts as another version and which one is chosen.
#include <QFile>
#include <QtTest>

#include "FirmwareFixture.h"
#include "core/DeviceAllInfo.h"
#include "firmware/FirmwareImages.h"

using namespace FirmwareFixture;

namespace {
struct BinFile {
    QString Name;
    QByteArray Bytes;
};
using BinFiles = QList<BinFile>;

QByteArray Receiver(int version, const QByteArray& model = Receiver8Model(), int cid = kCid, int mid = kMid) {
    return Image(211, version, model, cid, mid);
}

int ChosenVersion(const FirmwareImage& image) {
    FirmwareHeader header;
    return image && ReadFirmwareHeader(*image, &header) ? int(header.Version) : -1;
}
}  // namespace

Q_DECLARE_METATYPE(BinFiles)

class TstFirmwareSearch : public QObject {
    Q_OBJECT
private slots:
    void init() { UseInstallation(); }
    void cleanupTestCase() { Restore(); }

    void versionText_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("text");
        QTest::newRow("minor as two hex digits") << 0x0105 << "v1.05";
        QTest::newRow("hex minor upper case") << 0x011A << "v1.1A";
        QTest::newRow("major takes the upper three bytes") << 0x020105 << "v513.05";
    }
    void versionText() {
        QFETCH(int, version);
        QFETCH(QString, text);
        QCOMPARE(FirmwareVersionText(quint32(version)), text);
    }

    void search_data() {
        QTest::addColumn<BinFiles>("files");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("chosen");  // version of the chosen image; -1 none
        QTest::addColumn<bool>("other");  // HasOtherFirmwareVersion

        const QString d8 = Receiver8Model();
        const QByteArray long64(64, 'L');
        QTest::newRow("same version is no update")
            << BinFiles{{"a.bin", Receiver(0x0106)}} << d8 << "v1.06" << -1 << false;
        QTest::newRow("older image counts")
            << BinFiles{{"a.bin", Receiver(0x0105)}} << d8 << "v1.06" << 0x0105 << true;
        QTest::newRow("empty version: last in name order, case ignored")
            << BinFiles{{"a.bin", Receiver(0x0102)}, {"B.bin", Receiver(0x0101)}} << d8 << "" << 0x0101
            << false;
        QTest::newRow("1.1 and 1.10 are different versions, the search goes on")
            << BinFiles{{"a.bin", Receiver(0x0110)}, {"b.bin", Receiver(0x0101)}, {"c.bin", Receiver(0x0105)}}
            << d8 << "v1.1" << 0x0105 << true;
        QTest::newRow("equal pair passed over, later file taken")
            << BinFiles{{"a.bin", Receiver(0x0104)}, {"b.bin", Receiver(0x0106)}} << d8 << "v1.06" << 0x0104
            << true;
        QTest::newRow("hex minors compare as pairs")
            << BinFiles{{"a.bin", Receiver(0x010A)}} << d8 << "v1.0A" << -1 << false;
        QTest::newRow("unparsable current differs")
            << BinFiles{{"a.bin", Receiver(0x0106)}} << d8 << "1.0x" << 0x0106 << true;
        QTest::newRow("model name differing in case")
            << BinFiles{{"a.bin", Receiver(0x0106, "zemb_d8")}} << d8 << "v1.05" << -1 << false;
        QTest::newRow("other CID, MID or type")
            << BinFiles{{"a.bin", Receiver(0x0106, Receiver8Model(), 36)},
                        {"b.bin", Receiver(0x0106, Receiver8Model(), kCid, 7)},
                        {"c.bin", Image(210, 0x0106, Receiver8Model())}}
            << d8 << "v1.05" << -1 << false;
        QTest::newRow("64-byte model without NUL")
            << BinFiles{{"a.bin", Receiver(0x0106, long64)}} << QString(long64) << "v1.05" << 0x0106 << true;
        QTest::newRow("short file skipped, the search goes on")
            << BinFiles{{"a.bin", QByteArray(100, 'x')}, {"b.bin", Receiver(0x0106)}} << d8 << "v1.05"
            << 0x0106 << true;
        QTest::newRow("file cut inside its payload skipped")
            << BinFiles{{"a.bin", Receiver(0x0106).left(kFirmwareHeaderSize + 10)}} << d8 << "v1.05" << -1
            << false;
        QTest::newRow("only *.bin files")
            << BinFiles{{"a.img", Receiver(0x0106)}} << d8 << "v1.05" << -1 << false;
    }

    void search() {
        QFETCH(BinFiles, files);
        QFETCH(QString, model);
        QFETCH(QString, current);
        QFETCH(int, chosen);
        QFETCH(bool, other);
        for (const BinFile& file : files) QVERIFY(PutFile(file.Name, file.Bytes));

        QCOMPARE(FindUpdateFirmware(211, current, model, kCid, kMid), chosen >= 0);
        QCOMPARE(ChosenVersion(UpdateFirmwareImage()), chosen);
        QCOMPARE(UpdateFirmwareList().size(), chosen >= 0 ? 1 : 0);
        QCOMPARE(FindRepairFirmware(211, current, model, kCid, kMid), chosen >= 0);
        QCOMPARE(ChosenVersion(RepairFirmwareImage()), chosen);
        // The answer alone leaves the lists as they are.
        FindUpdateFirmware(211, "", model, kCid, kMid);
        const FirmwareImage before = UpdateFirmwareImage();
        QCOMPARE(HasOtherFirmwareVersion(211, current, model, kCid, kMid), other);
        QCOMPARE(UpdateFirmwareImage(), before);
    }

    void unreadableFileIsSkipped() {
        QVERIFY(PutFile("a.bin", Receiver(0x0104)));
        QVERIFY(PutFile("b.bin", Receiver(0x0106)));
        QFile::setPermissions(Paths::InstallDir() + "/bin/b.bin", QFileDevice::Permissions());
        QFile probe(Paths::InstallDir() + "/bin/b.bin");
        if (probe.open(QIODevice::ReadOnly)) QSKIP("files stay readable for this user");
        QVERIFY(FindUpdateFirmware(211, "v1.05", Receiver8Model(), kCid, kMid));
        QCOMPARE(ChosenVersion(UpdateFirmwareImage()), 0x0104);
    }

    void chosenImageOutlivesLaterSearches() {
        QVERIFY(PutFile("a.bin", Receiver(0x0106)));
        QVERIFY(FindUpdateFirmware(211, "v1.05", Receiver8Model(), kCid, kMid));
        const FirmwareImage running = UpdateFirmwareImage();
        QVERIFY(!FindUpdateFirmware(211, "v1.06", Receiver8Model(), kCid, kMid));
        QVERIFY(UpdateFirmwareList().isEmpty());
        QCOMPARE(ChosenVersion(running), 0x0106);
    }

    void updateAvailableByClass_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("receiverClass");
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("available");
        QTest::newRow("8K receiver, older") << 211 << 8 << "v1.05" << true;
        QTest::newRow("8K receiver, current") << 211 << 8 << "v1.06" << false;
        QTest::newRow("4K receiver has no image") << 211 << 4 << "v1.05" << false;
        QTest::newRow("class 3") << 211 << 3 << "v1.05" << false;
        QTest::newRow("class 0") << 211 << 0 << "v1.05" << false;
        QTest::newRow("mouse, older") << 210 << 0 << "v1.12" << true;
        QTest::newRow("mouse, empty version") << 210 << 0 << "" << false;
    }
    void updateAvailableByClass() {
        QFETCH(int, kind);
        QFETCH(int, receiverClass);
        QFETCH(QString, current);
        QFETCH(bool, available);
        PutPair(0x0106, 0x0113);
        {
            std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
            CurrentDevice = DeviceAllInfo();
        }
        UpgradeCid = 0;
        QCOMPARE(IsUpdateAvailable(kind, current, receiverClass), available);
        if (receiverClass == 8 || kind == 210) QCOMPARE(UpgradeCid.load(), kCid);
    }

    void missingFolderFindsNothing() {
        UseInstallation(false);
        QVERIFY(!FindUpdateFirmware(211, "", Receiver8Model(), kCid, kMid));
        QVERIFY(!IsUpdateAvailable(211, "v1.05", 8));
    }
};

QTEST_GUILESS_MAIN(TstFirmwareSearch)
#include "tst_firmwaresearch.moc"
