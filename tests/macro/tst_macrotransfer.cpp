// Macro transfer between the page and a button of the simulated mouse.
#include <QSignalSpy>
#include <QtTest>
#include <cstring>

#include "DeviceFixture.h"
#include "MacroPageFixture.h"
#include "core/CurrentFlashData.h"
#include "core/PostMsg.h"

using namespace MacroPageFixture;

namespace {
void Ignore(const unsigned char*, int, const unsigned char*, int) {}

QByteArray Bytes(const void* data, int length) {
    return QByteArray(static_cast<const char*>(data), length);
}

// The image the mouse's flash holds now.
FlashDataMap FlashImage() {
    FlashDataMap image{};
    const QByteArray flash = HidSim::Flash(DeviceFixture::MouseName());
    ProtocolDataParser(reinterpret_cast<const unsigned char*>(flash.constData()), &image);
    return image;
}

constexpr int kButton = 3;
const ButtonKeyEntry kMacroEntry{6, 3, 1};
}  // namespace

class TestMacroTransfer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PutTexts(); }
    void init() {
        DeviceFixture::Init();
        DeviceFixture::ConnectWithImage(Ignore);
        {
            std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
            CurrentFlashData.ButtonKeys[kButton] = kMacroEntry;
        }
        UiLive = true;
        FreshMacroFolder();
        WriteFile("M.ini", "1\n0x04 1 0\n10ms\n0x04 1 1\n");
        WriteFile("Other.ini", "1\n0x05 1 0\n");
    }
    void cleanup() { UsbServer_Exit(); }

    void listToMouse();
    void emptyListGivesNameOnly();
    void requestsThatAreDropped_data();
    void requestsThatAreDropped();
    void offlineMouseKeepsImage();
    void recordToFile();
    void recordWithKnownName();
    void recordWithUnsafeName();
};

void TestMacroTransfer::listToMouse() {
    Macro page;
    Select(page, "M");
    PostMsg::GetInstance()->EmitSigMacroDownLoadData("M", kButton);

    QByteArray expected(592, '\0');
    expected[0] = 1;
    expected[1] = 'M';
    expected[31] = 2;
    expected.replace(32, 16,
                     QByteArray("\x00\x01\x04\x00\x0a\x00\x00\x00\x01\x01\x04\x00\x00\x00\x00\x00", 16));

    const FlashDataMap handed = DeviceFixture::LastHandedImage();
    QCOMPARE(Bytes(&handed.ButtonMacros[kButton], 592), expected);
    QCOMPARE(Bytes(&handed.ButtonKeys[kButton], 3), Bytes(&kMacroEntry, 3));
    // The mouse keeps it.
    const FlashDataMap flash = FlashImage();
    QCOMPARE(Bytes(&flash.ButtonMacros[kButton], 592), expected);
}

void TestMacroTransfer::emptyListGivesNameOnly() {
    WriteFile("Empty.ini", "1\n");
    Macro page;
    Select(page, "Empty");
    PostMsg::GetInstance()->EmitSigMacroDownLoadData(QString("Empty") + QChar(0), kButton);
    const FlashDataMap handed = DeviceFixture::LastHandedImage();
    const MacroRecord& record = handed.ButtonMacros[kButton];
    QCOMPARE(int(record.NameLength), 5);
    QCOMPARE(QByteArray(record.Name, 5), QByteArray("Empty"));
    QCOMPARE(int(record.EventCount), 0);
}

void TestMacroTransfer::requestsThatAreDropped_data() {
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("requested");
    QTest::addColumn<bool>("live");
    QTest::addColumn<int>("button");
    QTest::newRow("another macro") << "Other"
                                   << "M" << true << kButton;
    QTest::newRow("interface not live") << "M"
                                        << "M" << false << kButton;
    QTest::newRow("nothing shown") << ""
                                   << "M" << true << kButton;
    QTest::newRow("no such button") << "M"
                                    << "M" << true << 16;
}

void TestMacroTransfer::requestsThatAreDropped() {
    QFETCH(QString, shown);
    QFETCH(QString, requested);
    QFETCH(bool, live);
    QFETCH(int, button);
    Macro page;
    if (!shown.isEmpty()) Select(page, shown);
    UiLive = live;
    HidSim::ClearCallLog();
    const QByteArray before = HidSim::LastImage();
    PostMsg::GetInstance()->EmitSigMacroDownLoadData(requested, button);
    QCOMPARE(HidSim::LastImage(), before);
}

void TestMacroTransfer::offlineMouseKeepsImage() {
    Macro page;
    Select(page, "M");
    QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
    QSignalSpy offline(PostMsg::GetInstance(), &PostMsg::SigMouseOffLineo);
    const QByteArray before = HidSim::LastImage();
    PostMsg::GetInstance()->EmitSigMacroDownLoadData("M", kButton);
    QCOMPARE(HidSim::LastImage(), before);
    QCOMPARE(int(DeviceFixture::ImageNow().ButtonMacros[kButton].EventCount), 0);
    QCOMPARE(offline.count(), 1);
}

void TestMacroTransfer::recordToFile() {
    Macro page;
    Select(page, "Other");
    FlashDataMap image{};
    MacroRecord& record = image.ButtonMacros[5];
    std::memcpy(record.Name, "Dev", 3);
    record.NameLength = 3;
    record.EventCount = 3;
    record.Events[0] = KeyEvent{0, 1, 0x04, 20};
    record.Events[1] = KeyEvent{1, 1, 0x04, 30};
    record.Events[2] = KeyEvent{0, 1, 0x05, 0};
    image.ButtonKeys[5] = ButtonKeyEntry{6, 5, 254};
    // The whole file is written anew: the repeat value of the button's entry, then the record's events.
    WriteFile("Dev.ini", "1\nold\n");
    QSignalSpy added(PostMsg::GetInstance(), &PostMsg::SigAddMacroButton);
    PostMsg::GetInstance()->EmitSigButtonToMacro(image, 5);
    QCOMPARE(ReadFile("Dev.ini"), QByteArray("254\n0x04 1 0\n20ms\n0x04 1 1\n30ms\n0x05 1 0\n"));
    QCOMPARE(added.count(), 1);
    // Added right after the current item; afterwards nothing is selected and the list is empty.
    QCOMPARE(MacroList(page)->item(2)->text(), QString("Dev"));
    QVERIFY(!MacroList(page)->currentItem());
    QVERIFY(page.ShownMacro().isEmpty());
    QCOMPARE(EventList(page)->count(), 0);

    // The file reads back as the same events.
    Select(page, "Dev");
    QCOMPARE(Shown(page), QStringList({"+A", "20ms", "-A", "30ms", "+B"}));
    QVERIFY(Child<QCheckBox>(page, "ReUntilLoose")->isChecked());
}

void TestMacroTransfer::recordWithKnownName() {
    Macro page;
    FlashDataMap image{};
    std::memcpy(image.ButtonMacros[0].Name, "M", 1);
    image.ButtonMacros[0].NameLength = 1;
    image.ButtonMacros[0].EventCount = 1;
    image.ButtonMacros[0].Events[0] = KeyEvent{0, 4, 0x02, 0};
    image.ButtonKeys[0] = ButtonKeyEntry{6, 0, 2};
    PostMsg::GetInstance()->EmitSigButtonToMacro(image, 0);
    QCOMPARE(MacroList(page)->count(), 2);
    QCOMPARE(ReadFile("M.ini"), QByteArray("2\n0x02 4 0\n"));
}

void TestMacroTransfer::recordWithUnsafeName() {
    Macro page;
    FlashDataMap image{};
    MacroRecord& record = image.ButtonMacros[7];
    std::memcpy(record.Name, "..", 2);
    record.NameLength = 2;
    record.EventCount = 250;  // not trusted: at most 70 events are read
    for (KeyEvent& event : record.Events) event = KeyEvent{0, 1, 0x04, 1};
    image.ButtonKeys[7] = ButtonKeyEntry{6, 7, 1};
    PostMsg::GetInstance()->EmitSigButtonToMacro(image, 7);
    QVERIFY(ItemNamed(page, "Macro8"));
    QVERIFY(!ItemNamed(page, ".."));
    QCOMPARE(ReadFile("Macro8.ini").count('\n'), 1 + 2 * 70 - 1);
    // Nothing is written outside the macro folder.
    QVERIFY(!QFile::exists(MacroFolder() + "/...ini"));
}

QTEST_MAIN(TestMacroTransfer)
#include "tst_macrotransfer.moc"
