#include <QtTest>

#include "core/LanguageTables.h"
#include "hidusb/FlashDataMap.h"
#include "keys/KeyTables.h"

namespace {
const QString kArrowRight = QString(QChar(0x2192));
const QString kArrowUp = QString(QChar(0x2191));

void SetButtonNames(const QStringList& names) {
    for (int i = 0; i < MouseButtonCount; ++i) MouseButtonNames[i] = names.value(i);
}
}  // namespace

class TestKeyTables : public QObject {
    Q_OBJECT

private slots:
    void init() { SetButtonNames({"Left", "Right", "Middle", "Back", "Forward"}); }

    void codeTextToName_data();
    void codeTextToName();
    void codeToName_data();
    void codeToName();
    void mouseCodeToName_data();
    void mouseCodeToName();
    void nameToCode_data();
    void nameToCode();
    void virtualKeyToName_data();
    void virtualKeyToName();
    void everyKeyRoundTrips();
    void emptyButtonNamesBeforeLanguage();
    void buttonNameEqualToKeyName();
    void buttonNamesFollowLanguage();
    void kindAndCodeOfName_data();
    void kindAndCodeOfName();
    void nameToMacroEvent();
    void splitCombination_data();
    void splitCombination();
};

void TestKeyTables::codeTextToName_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::newRow("tab") << "0x2B" << 1 << "Tab";
    QTest::newRow("lower-case hex") << "0x2b" << 1 << "";
    QTest::newRow("trailing space") << "0x2B " << 1 << "";
    QTest::newRow("upper-case X") << "0X2B" << 1 << "";
    QTest::newRow("one digit") << "0xA" << 1 << "";
    QTest::newRow("no usage 0x01") << "0x01" << 1 << "";
    QTest::newRow("modifier 0x01") << "0x01" << 0 << "LCtrl";
    QTest::newRow("mouse 0x01") << "0x01" << 4 << "Left";
    QTest::newRow("keypad enter unnamed") << "0x58" << 1 << "";
    QTest::newRow("0x20 key") << "0x20" << 1 << "3";
    QTest::newRow("0x20 modifier") << "0x20" << 0 << "RShift";
    QTest::newRow("0x20 mouse") << "0x20" << 4 << "";
    QTest::newRow("0x04 key") << "0x04" << 1 << "A";
    QTest::newRow("0x04 modifier") << "0x04" << 0 << "LAlt";
    QTest::newRow("0x04 mouse") << "0x04" << 4 << "Middle";
    QTest::newRow("0x08 mouse is back") << "0x08" << 4 << "Back";
    QTest::newRow("0x10 mouse is forward") << "0x10" << 4 << "Forward";
    QTest::newRow("empty name row") << "0x00" << 1 << "";
    QTest::newRow("digit zero") << "0x27" << 1 << "0";
    QTest::newRow("num zero") << "0x62" << 1 << "Num0";
    QTest::newRow("apps") << "0x65" << 1 << "APPs";
    QTest::newRow("beyond table") << "0x66" << 1 << "";
    QTest::newRow("arrow") << "0x4F" << 1 << kArrowRight;
    QTest::newRow("consumer kind") << "0x04" << 2 << "";
    QTest::newRow("negative kind") << "0x04" << -1 << "";
}

void TestKeyTables::codeTextToName() {
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(QString, name);
    QCOMPARE(KeyCodeTextToName(text, kind), name);
}

void TestKeyTables::codeToName_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    const int kinds[] = {1, 0, 2};
    const char* shared[][4] = {{"4", "A", "LAlt", ""},
                               {"8", "E", "LWin", ""},
                               {"16", "M", "RCtrl", ""},
                               {"32", "3", "RShift", ""},
                               {"64", "F7", "RAlt", "F7"},
                               {"1", "LCtrl", "LCtrl", "LCtrl"},
                               {"2", "LShift", "LShift", "LShift"},
                               {"128", "RWin", "RWin", "RWin"}};
    for (const auto& row : shared)
        for (int k = 0; k < 3; ++k)
            QTest::addRow("code %s kind %d", row[0], kinds[k])
                << QString(row[0]).toInt() << kinds[k] << row[k + 1];
    QTest::newRow("keypad enter") << 0x58 << 1 << "Enter";
    QTest::newRow("keypad enter any kind") << 0x58 << 4 << "Enter";
    QTest::newRow("enter") << 0x28 << 1 << "Enter";
    QTest::newRow("tab whatever kind") << 0x2B << 0 << "Tab";
    QTest::newRow("zero") << 0x00 << 1 << "";
    QTest::newRow("0x32 no row") << 0x32 << 1 << "";
    QTest::newRow("0x64 no row") << 0x64 << 1 << "";
    QTest::newRow("above table") << 0xE0 << 1 << "";
    QTest::newRow("16-bit code") << 0x0104 << 1 << "";
    QTest::newRow("up arrow") << 0x52 << 1 << kArrowUp;
}

void TestKeyTables::codeToName() {
    QFETCH(int, code);
    QFETCH(int, kind);
    QFETCH(QString, name);
    QCOMPARE(KeyCodeToName(code, kind), name);
}

void TestKeyTables::mouseCodeToName_data() {
    QTest::addColumn<int>("bit");
    QTest::addColumn<QString>("name");
    QTest::newRow("left") << 0x01 << "Left";
    QTest::newRow("right") << 0x02 << "Right";
    QTest::newRow("middle") << 0x04 << "Middle";
    QTest::newRow("back") << 0x08 << "Back";
    QTest::newRow("forward") << 0x10 << "Forward";
    QTest::newRow("combination") << 0x03 << "";
    QTest::newRow("zero") << 0x00 << "";
    QTest::newRow("0x20") << 0x20 << "";
}

void TestKeyTables::mouseCodeToName() {
    QFETCH(int, bit);
    QFETCH(QString, name);
    QCOMPARE(MouseCodeToName(bit), name);
}

void TestKeyTables::nameToCode_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("code");
    QTest::newRow("RShift") << "RShift" << QStringList{"0x20", "0"};
    QTest::newRow("3") << "3" << QStringList{"0x20", "1"};
    QTest::newRow("lower-case shift") << "shift" << QStringList{};
    QTest::newRow("side-less Shift") << "Shift" << QStringList{};
    QTest::newRow("empty name") << "" << QStringList{"0x00", "1"};
    QTest::newRow("tab") << "Tab" << QStringList{"0x2B", "1"};
    QTest::newRow("backslash") << "\\" << QStringList{"0x31", "1"};
    QTest::newRow("F12") << "F12" << QStringList{"0x45", "1"};
    QTest::newRow("Num.") << "Num." << QStringList{"0x63", "1"};
    QTest::newRow("left button") << "Left" << QStringList{"0x01", "4"};
    QTest::newRow("back button") << "Back" << QStringList{"0x08", "4"};
    QTest::newRow("forward button") << "Forward" << QStringList{"0x10", "4"};
    QTest::newRow("case matters") << "tab" << QStringList{};
}

void TestKeyTables::nameToCode() {
    QFETCH(QString, name);
    QFETCH(QStringList, code);
    QCOMPARE(KeyNameToCode(name), code);
}

void TestKeyTables::virtualKeyToName_data() {
    QTest::addColumn<int>("vk");
    QTest::addColumn<bool>("withModifiers");
    QTest::addColumn<bool>("named");
    QTest::addColumn<QString>("name");
    QTest::newRow("A") << 0x41 << false << true << "A";
    QTest::newRow("0") << 0x30 << true << true << "0";
    QTest::newRow("minus") << 0xBD << false << true << "-";
    QTest::newRow("right arrow") << 0x27 << false << true << kArrowRight;
    QTest::newRow("num 9") << 0x69 << false << true << "Num9";
    QTest::newRow("num 0") << 0x60 << false << true << "Num0";
    QTest::newRow("print screen") << 0x2C << false << true << "Screen";
    QTest::newRow("keypad 5 without num lock") << 0x0C << false << true << "";
    QTest::newRow("RShift with modifiers") << 0xA1 << true << true << "RShift";
    QTest::newRow("RShift without modifiers") << 0xA1 << false << false << "";
    QTest::newRow("LWin with modifiers") << 0x5B << true << true << "LWin";
    QTest::newRow("LWin without modifiers") << 0x5B << false << false << "";
    QTest::newRow("side-less shift") << 0x10 << true << false << "";
    QTest::newRow("volume up") << 0xAF << true << false << "";
    QTest::newRow("F13") << 0x7C << true << false << "";
    QTest::newRow("unknown") << 0xFF << true << false << "";
    QTest::newRow("zero") << 0x00 << true << false << "";
}

void TestKeyTables::virtualKeyToName() {
    QFETCH(int, vk);
    QFETCH(bool, withModifiers);
    QFETCH(bool, named);
    QFETCH(QString, name);
    const std::optional<QString> result = VirtualKeyToName(vk, withModifiers);
    QCOMPARE(result.has_value(), named);
    if (named) QCOMPARE(*result, name);
}

// Every named virtual key converts to a code and back to the same name through both the text
// and the numeric form.
void TestKeyTables::everyKeyRoundTrips() {
    int named = 0;
    for (int vk = 0; vk < 256; ++vk) {
        const std::optional<QString> name = VirtualKeyToName(vk, true);
        if (!name) continue;
        ++named;
        const QStringList code = KeyNameToCode(*name);
        QVERIFY2(code.size() == 2, qPrintable(*name));
        const int kind = code[1].toInt();
        QCOMPARE(KeyCodeTextToName(code[0], kind), *name);
        bool ok = false;
        const int number = code[0].mid(2).toInt(&ok, 16);
        QVERIFY(ok);
        QCOMPARE(KeyCodeToName(number, kind), *name);
    }
    // Letters, digits, Enter..Space, punctuation, CapsLock, F-keys, Screen..PgDn, arrows,
    // NumLock and the keypad operators, keypad digits, "Num.", "APPs", the empty name, modifiers.
    QCOMPARE(named, 26 + 10 + 5 + 11 + 1 + 12 + 9 + 4 + 5 + 10 + 1 + 1 + 1 + 8);
}

void TestKeyTables::emptyButtonNamesBeforeLanguage() {
    SetButtonNames({});
    QCOMPARE(MouseCodeToName(0x01), QString(""));
    QCOMPARE(KeyNameToCode(MouseCodeToName(0x01)), (QStringList{"0x00", "1"}));
    QCOMPARE(KeyCodeTextToName("0x02", 4), QString(""));
}

// A button text equal to a key name yields the key, unless the key is one of F1 to F12.
void TestKeyTables::buttonNameEqualToKeyName() {
    SetButtonNames({"Tab", "F5", "Middle", "Back", "Forward"});
    QCOMPARE(KeyNameToCode("Tab"), (QStringList{"0x2B", "1"}));
    QCOMPARE(KeyNameToCode("F5"), (QStringList{"0x02", "4"}));
    quint8 kind = 0;
    quint16 code = 0;
    KeyNameToKindAndCode("F5", kind, code);
    QCOMPARE(int(kind), 4);
    QCOMPARE(int(code), 0x02);
}

void TestKeyTables::buttonNamesFollowLanguage() {
    MouseInsertEventLabels = TextTable(LanguageCount);
    MouseInsertEventLabels[0] = {
        {"2", "Left"}, {"3", "Right"}, {"4", "Middle"}, {"5", "Forward"}, {"6", "Back"}};
    MouseInsertEventLabels[1] = {
        {"2", "Levé"}, {"3", "Pravé"}, {"4", "Prostřední"}, {"5", "Vpřed"}, {"6", "Zpět"}};
    SetMouseButtonNames(0);
    QCOMPARE(MouseCodeToName(0x08), QString("Back"));
    QCOMPARE(MouseCodeToName(0x10), QString("Forward"));
    const QStringList stored = KeyNameToCode(MouseCodeToName(0x08));
    SetMouseButtonNames(1);
    QCOMPARE(MouseCodeToName(0x08), QString("Zpět"));
    // The stored code stays valid across the change.
    QCOMPARE(KeyCodeTextToName(stored[0], stored[1].toInt()), QString("Zpět"));
    MouseInsertEventLabels.clear();
}

void TestKeyTables::kindAndCodeOfName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("code");
    QTest::newRow("modifier") << "RAlt" << 0 << 0x40;
    QTest::newRow("key") << "F7" << 1 << 0x40;
    QTest::newRow("mouse") << "Right" << 4 << 0x02;
    QTest::newRow("empty name") << "" << 1 << 0x00;
    QTest::newRow("unknown keeps code") << "Ctrl" << 1 << 0x1234;
}

void TestKeyTables::kindAndCodeOfName() {
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(int, code);
    quint8 eventKind = 2;
    quint16 eventCode = 0x1234;
    KeyNameToKindAndCode(name, eventKind, eventCode);
    QCOMPARE(int(eventKind), kind);
    QCOMPARE(int(eventCode), code);
}

// Only Kind and Code of the addressed event change; an index outside the record writes nothing.
void TestKeyTables::nameToMacroEvent() {
    MacroRecord record;
    memset(&record, 0xAB, sizeof(record));
    const MacroRecord before = record;
    KeyNameToEvent("RCtrl", 69, record);
    QCOMPARE(int(record.Events[69].Kind), 0);
    QCOMPARE(int(record.Events[69].Code), 0x10);
    QCOMPARE(int(record.Events[69].State), 0xAB);
    QCOMPARE(record.Events[69].DelayMs, before.Events[69].DelayMs);
    KeyNameToEvent("no such key", 3, record);
    QCOMPARE(int(record.Events[3].Kind), 1);
    QCOMPARE(int(record.Events[3].Code), 0xABAB);
    record.Events[3].Kind = 0xAB;
    record.Events[69] = before.Events[69];
    KeyNameToEvent("A", 70, record);
    KeyNameToEvent("A", -1, record);
    QVERIFY(memcmp(&record, &before, sizeof(record)) == 0);
}

void TestKeyTables::splitCombination_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("one") << "A" << QStringList{"A"};
    QTest::newRow("three") << "Ctrl+Alt+Del" << QStringList{"Ctrl", "Alt", "Del"};
    QTest::newRow("keypad plus first") << "Num++A" << QStringList{"Num+", "A"};
    QTest::newRow("keypad plus last") << "Ctrl+Num+" << QStringList{"Ctrl", "Num+"};
    QTest::newRow("keypad plus alone") << "Num+" << QStringList{"Num+"};
    QTest::newRow("other keypad key") << "Num1+A" << QStringList{"Num1", "A"};
    QTest::newRow("trailing plus") << "A+" << QStringList{"A", ""};
}

void TestKeyTables::splitCombination() {
    QFETCH(QString, text);
    QFETCH(QStringList, items);
    QCOMPARE(SplitKeyCombination(text), items);
}

QTEST_GUILESS_MAIN(TestKeyTables)
#include "tst_keytables.moc"
