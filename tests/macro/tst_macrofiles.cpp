#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDataStream>
#include <QFile>
#include <QIcon>
#include <QPixmap>
#include <QtTest>
#include <cstring>
#include <future>

#include "LanguageFixture.h"
#include "PipeFixture.h"
#include "SmallDisk.h"
#include "TestEnv.h"
#include "dialogs/ProfileFile.h"
#include "keys/KeyTables.h"
#include "macro/MacroFiles.h"

using namespace MacroFiles;

Q_DECLARE_METATYPE(MacroFiles::MacroEntry)
Q_DECLARE_METATYPE(QVector<MacroFiles::MacroEntry>)
Q_DECLARE_METATYPE(MacroFiles::ImportError)

namespace {

MacroEntry Press(const QString& name) {
    return MacroEntry::Event(name, true);
}
MacroEntry Release(const QString& name) {
    return MacroEntry::Event(name, false);
}
MacroEntry Wait(const QString& text) {
    return MacroEntry::DelayText(text);
}

QString Describe(const QVector<MacroEntry>& entries) {
    QStringList parts;
    for (const MacroEntry& e : entries)
        parts << (e.IsDelay()     ? "D:"
                  : e.IsRelease() ? "R:"
                                  : "P:") +
                     e.Text + "/" + QString::number(e.Kind) + "/" + QString::number(e.Code, 16);
    return parts.join(", ");
}

// Writes the blocks of an export file by hand, so that each can be broken on its own.
struct ExportWriter {
    QByteArray bytes;
    QDataStream out{&bytes, QIODevice::WriteOnly};
    ExportWriter() { out.setVersion(17); }
    ExportWriter& Block(const QByteArray& text, int size) {
        QByteArray block = text;
        block.append(QByteArray(qMax(0, size - text.size()), '\0'));
        out.writeBytes(block.constData(), uint(block.size()));
        return *this;
    }
    ExportWriter& Head(const QByteArray& name = "M", const QByteArray& loop = "5") {
        return Block("Zizov", 12).Block(name, 48).Block(loop, 12);
    }
    ExportWriter& Count(qint32 count) {
        out << count;
        return *this;
    }
    ExportWriter& Item(const QString& text, const QByteArray& marker = QByteArray()) {
        return IconItem(
            text, [](QDataStream& s) { s << QIcon(); }, marker);
    }
    // An item whose icon bytes the caller writes.
    template <class Icon>
    ExportWriter& IconItem(const QString& text, Icon icon, const QByteArray& marker = QByteArray()) {
        out << text;
        icon(out);
        if (!marker.isNull()) out.writeBytes(marker.constData(), uint(marker.size()));
        return *this;
    }
    QString Save(const QString& name) const {
        const QString path = QDir::homePath() + "/" + name;
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }
};

}  // namespace

class TestMacroFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        for (const char* key : {"2", "3", "4", "5", "6"}) LanguageFixture::Put(MouseInsertEventLabels, key);
        SetMouseButtonNames(0);
    }

    void parse_data();
    void parse();
    void writeLines();
    void fileRoundTrip();
    void appendNeedsFile();
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void macroNames();
    void eventCodes();
    void exportRoundTrip();
    void exportLongName();
    void brokenExports_data();
    void brokenExports();
    void profileIsRefused();
    void importNeverOpensNamedFiles_data();
    void importNeverOpensNamedFiles();
    void importOfAPipeReturnsAtOnce();
    void listToRecord();
    void recordToList();
    void recordLimits();
    void recordNames_data();
    void recordNames();
};

void TestMacroFiles::parse_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hasFirstLine");
    QTest::addColumn<int>("repeat");
    QTest::addColumn<QVector<MacroEntry>>("entries");

    QTest::newRow("loose, A press and release")
        << "254\n0x04 1 0\n10ms\n0x04 1 1\n"
        << true << 254 << QVector<MacroEntry>{Press("A"), Wait("10ms"), Release("A")};
    QTest::newRow("CR LF line ends") << "253\r\n0x04 1 0\r\n20ms\r\n0x04 1 1\r\n"
                                     << true << 253
                                     << QVector<MacroEntry>{Press("A"), Wait("20ms"), Release("A")};
    QTest::newRow("empty file") << "" << false << 0 << QVector<MacroEntry>{};
    QTest::newRow("word as loop") << "abc\n" << true << 0 << QVector<MacroEntry>{};
    QTest::newRow("spaces around loop") << " 250 \n" << true << 250 << QVector<MacroEntry>{};
    QTest::newRow("last event line without end is dropped")
        << "1\n0x04 1 0\n10ms\n0x04 1 1" << true << 1 << QVector<MacroEntry>{Press("A"), Wait("10ms")};
    QTest::newRow("last delay line without end stays")
        << "1\n0x04 1 0\n10ms" << true << 1 << QVector<MacroEntry>{Press("A"), Wait("10ms")};
    QTest::newRow("modifier, mouse button, empty key")
        << "2\n0x20 0 0\n5ms\n0x01 4 1\n5ms\n0x7F 1 0\n"
        << true << 2
        << QVector<MacroEntry>{Press("RShift"), Wait("5ms"),
                               MacroEntry::Event(MouseButtonNames[0], false, KeyKindMouseButton, 0x01),
                               Wait("5ms"), MacroEntry::Event("", true, KeyKindKeyboard, 0)};
    QTest::newRow("two and four parts skipped, bad state skipped")
        << "1\n0x04 1\n0x04 1 0 x\n0x04 1 2\n0x05 1 0\n"
        << true << 1 << QVector<MacroEntry>{Press("B")};
    QTest::newRow("blank line is a delay with empty text")
        << "1\n\n   \n"
        << true << 1 << QVector<MacroEntry>{Wait(""), Wait("")};
}

void TestMacroFiles::parse() {
    QFETCH(QString, text);
    QFETCH(bool, hasFirstLine);
    QFETCH(int, repeat);
    QFETCH(QVector<MacroEntry>, entries);
    const MacroFileContent content = ParseMacroText(text);
    QCOMPARE(content.HasFirstLine, hasFirstLine);
    QCOMPARE(content.Repeat, repeat);
    QCOMPARE(Describe(content.Entries), Describe(entries));
    QVERIFY(content.Entries == entries);
}

void TestMacroFiles::writeLines() {
    const QVector<MacroEntry> entries{Press("A"), Wait("20ms"), Release("A"), Wait("5ms"),
                                      MacroEntry::Event(MouseButtonNames[4], true, KeyKindMouseButton, 0x10)};
    QCOMPARE(MacroText("253", entries), QString("253\n0x04 1 0\n20ms\n0x04 1 1\n5ms\n0x10 4 0\n"));
    // A name outside the vocabulary (another language's button text, an old file) still gets a key line.
    QCOMPARE(EntryLine(Press("Nonsense")), QString("0x00 1 0"));
}

void TestMacroFiles::fileRoundTrip() {
    const QString path = TestEnv::FreshDir("files") + "/M.ini";
    const QVector<MacroEntry> entries{Press("LCtrl"),
                                      Wait("30ms"),
                                      Press("Num+"),
                                      Wait("30ms"),
                                      Release("Num+"),
                                      Wait("7ms"),
                                      Release("LCtrl"),
                                      Wait("1ms"),
                                      MacroEntry::Event(MouseButtonNames[1], true, KeyKindMouseButton, 0x02)};
    QVERIFY(WriteMacroFile(path, "17", entries));
    MacroFileContent content;
    QVERIFY(ReadMacroFile(path, content));
    QCOMPARE(content.Repeat, 17);
    QVERIFY(content.Entries == entries);
    QVERIFY(!ReadMacroFile(path + ".missing", content));
}

void TestMacroFiles::appendNeedsFile() {
    const QString folder = TestEnv::FreshDir("append");
    QVERIFY(!AppendMacroLines(folder + "/none.ini", {Press("A")}));
    QVERIFY(!QFile::exists(folder + "/none.ini"));
    QFile file(folder + "/M.ini");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("254\n");
    file.close();
    QVERIFY(AppendMacroLines(folder + "/M.ini", {Press("A"), Wait("20ms"), Release("A")}));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("254\n0x04 1 0\n20ms\n0x04 1 1\n"));
}

void TestMacroFiles::fullDiskKeepsTheOldFile_data() {
    QTest::addColumn<QString>("writer");
    QTest::addColumn<int>("events");
    QTest::newRow("save a macro") << "save" << 3;
    QTest::newRow("append lines") << "append" << 3;
    QTest::newRow("append many lines") << "append" << 70;
    QTest::newRow("export without items") << "export" << 0;
    QTest::newRow("export with icons") << "export" << 20;
}

void TestMacroFiles::fullDiskKeepsTheOldFile() {
    QFETCH(QString, writer);
    QFETCH(int, events);
    SmallDisk disk("macro-disk");
    SMALL_DISK_OR_SKIP(disk);
    QVector<MacroEntry> entries;
    for (int i = 0; i < events; ++i) entries << Press("A") << Wait("10ms") << Release("A");
    const QString path = disk.Path() + "/M.ini";
    const QVector<MacroEntry> old{Press("B"), Wait("5ms"), Release("B")};
    QVERIFY(WriteMacroFile(path, "254", old));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    QVERIFY(disk.Fill());

    const QString pictures = QCoreApplication::applicationDirPath() + "/Picture/Macro/";
    bool written = true;
    if (writer == "save")
        written = WriteMacroFile(path, "3", entries);
    else if (writer == "append")
        written = AppendMacroLines(path, entries);
    else
        written = WriteExport(path, "M", "3", entries, pictures);
    QVERIFY(!written);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QCOMPARE(disk.Files(), QStringList{"M.ini"});
}

void TestMacroFiles::macroNames() {
    const QString folder = TestEnv::FreshDir("names");
    for (const char* name :
         {"c.ini", "B.ini", "a.ini", "layout.xml.ini", "notes.txt", "UPPER.INI", "x.ini.ini"}) {
        QFile file(folder + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QDir(folder).mkdir("folder.ini");
    QFile::link(folder + "/a.ini", folder + "/link.ini");
    QCOMPARE(MacroNamesIn(folder), QStringList({"a", "B", "c", "layout.xml", "x.ini"}));
}

void TestMacroFiles::eventCodes() {
    int kind = -1, code = -1;
    EventCodeOf("Tab", kind, code);
    QCOMPARE(kind, 1);
    QCOMPARE(code, 0x2B);
    EventCodeOf("RWin", kind, code);
    QCOMPARE(kind, 0);
    QCOMPARE(code, 0x80);
    // The back button's name of the other language is still the back button.
    EventCodeOf(LanguageFixture::Text("6", 1), kind, code);
    QCOMPARE(kind, 4);
    QCOMPARE(code, 0x08);
    EventCodeOf("no such key", kind, code);
    QCOMPARE(kind, 1);
    QCOMPARE(code, 0);
    QCOMPARE(DelayValue("120ms"), 120u);
    QCOMPARE(DelayValue("ms"), 0u);
    QCOMPARE(DelayValue("x5ms"), 0u);
}

void TestMacroFiles::exportRoundTrip() {
    const QString path = TestEnv::FreshDir("export") + "/out.ini";
    const QVector<MacroEntry> entries{Press("A"), Wait("10ms"), Release("A"), Wait("300ms"),
                                      MacroEntry::Event(MouseButtonNames[2], true, KeyKindMouseButton, 0x04)};
    QVERIFY(WriteExport(path, QString::fromUtf8("Mäkro"), "254", entries, QString()));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.left(16), QByteArray("\0\0\0\x0cZizov\0\0\0\0\0\0\0", 16));
    QCOMPARE(bytes.mid(16, 4), QByteArray("\0\0\0\x30", 4));
    QCOMPARE(bytes.mid(20, 7), QByteArray("M\xc3\xa4kro\0", 7));

    ExportContent content;
    QCOMPARE(ReadExport(path, content), ImportError::None);
    QCOMPARE(content.Name, QString::fromUtf8("Mäkro"));
    QCOMPARE(content.Repeat, 254);
    QCOMPARE(Describe(content.Entries), Describe(entries));
}

void TestMacroFiles::exportLongName() {
    // 30 two-byte letters do not fit 47 bytes: cut at a whole letter.
    const QString name(30, QChar(0x00E9));
    QCOMPARE(ExportNameBytes(name).size(), 46);
    QCOMPARE(QString::fromUtf8(ExportNameBytes(name)), QString(23, QChar(0x00E9)));
}

void TestMacroFiles::brokenExports_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<ImportError>("error");

    const auto good = [] {
        return ExportWriter()
            .Head()
            .Count(3)
            .Item("A", QByteArray("0", 2))
            .Item("10ms")
            .Item("A", QByteArray("1", 2))
            .bytes;
    };
    QTest::newRow("good") << good() << ImportError::None;
    QTest::newRow("cut short") << good().left(good().size() - 3) << ImportError::Broken;
    QTest::newRow("empty file") << QByteArray() << ImportError::NotMacro;
    QTest::newRow("other tag")
        << ExportWriter().Block("Other", 12).Block("M", 48).Block("1", 12).Count(0).bytes
        << ImportError::NotMacro;
    QTest::newRow("tag block too long")
        << ExportWriter().Block("Zizov", 13).Block("M", 48).Block("1", 12).Count(0).bytes
        << ImportError::NotMacro;
    QTest::newRow("name block too short")
        << ExportWriter().Block("Zizov", 12).Block("M", 12).Block("1", 12).Count(0).bytes
        << ImportError::NotMacro;
    QTest::newRow("loop 251") << ExportWriter().Head("M", "251").Count(0).bytes << ImportError::Broken;
    QTest::newRow("loop word") << ExportWriter().Head("M", "many").Count(0).bytes << ImportError::Broken;
    QTest::newRow("negative count") << ExportWriter().Head().Count(-1).bytes << ImportError::Broken;
    QTest::newRow("huge count") << ExportWriter().Head().Count(1000000).bytes << ImportError::Broken;
    QTest::newRow("count above items")
        << ExportWriter().Head().Count(2).Item("A", QByteArray("0", 2)).bytes << ImportError::Broken;
    QTest::newRow("bad delay text") << ExportWriter().Head().Count(1).Item("10 ms").bytes
                                    << ImportError::Broken;
    QTest::newRow("control character")
        << ExportWriter().Head().Count(1).Item("A\nB", QByteArray("0", 2)).bytes << ImportError::Broken;
    QTest::newRow("marker 2") << ExportWriter().Head().Count(1).Item("A", QByteArray("2", 2)).bytes
                              << ImportError::Broken;
    QTest::newRow("marker without NUL")
        << ExportWriter().Head().Count(1).Item("A", QByteArray("0")).bytes << ImportError::Broken;
    QTest::newRow("name with slash") << ExportWriter().Head("a/b").Count(0).bytes << ImportError::BadName;
    QTest::newRow("name dot dot") << ExportWriter().Head("..").Count(0).bytes << ImportError::BadName;
    QTest::newRow("empty name") << ExportWriter().Head("").Count(0).bytes << ImportError::BadName;
}

void TestMacroFiles::brokenExports() {
    QFETCH(QByteArray, bytes);
    QFETCH(ImportError, error);
    ExportWriter writer;
    writer.bytes = bytes;
    ExportContent content;
    QCOMPARE(ReadExport(writer.Save("broken.ini"), content), error);
    if (error == ImportError::None) {
        QCOMPARE(Describe(content.Entries), Describe({Press("A"), Wait("10ms"), Release("A")}));
        QCOMPARE(content.Repeat, 5);
    }
}

void TestMacroFiles::profileIsRefused() {
    const QString path = TestEnv::FreshDir("profile") + "/profile.bin";
    FlashDataMap image{};
    QVERIFY(ProfileFile::Write(path, "3395", image));
    ExportContent content;
    QCOMPARE(ReadExport(path, content), ImportError::NotMacro);
    QCOMPARE(ReadExport(path + ".missing", content), ImportError::Unreadable);
}

void TestMacroFiles::listToRecord() {
    const MacroRecord record = EntriesToRecord("M", {Press("A"), Wait("10ms"), Release("A")});
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    QByteArray head(32, '\0');
    head[0] = 1;
    head[1] = 'M';
    head[31] = 2;
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(bytes), 32), head);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(bytes) + 32, 16),
             QByteArray("\x00\x01\x04\x00\x0a\x00\x00\x00"
                        "\x01\x01\x04\x00\x00\x00\x00\x00",
                        16));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(bytes) + 48, 592 - 48), QByteArray(592 - 48, '\0'));

    const MacroRecord empty = EntriesToRecord("M", {});
    QCOMPARE(int(empty.EventCount), 0);
    QCOMPARE(int(empty.NameLength), 1);

    // A delay that is not a number gives 0 for the event before it; mouse buttons keep their bit.
    const MacroRecord mixed = EntriesToRecord(
        "M", {MacroEntry::Event("whatever", true, KeyKindMouseButton, 0x10), Wait("xms"), Press("LAlt")});
    QCOMPARE(int(mixed.EventCount), 2);
    QCOMPARE(int(mixed.Events[0].Kind), 4);
    QCOMPARE(int(mixed.Events[0].Code), 0x10);
    QCOMPARE(mixed.Events[0].DelayMs, 0u);
    QCOMPARE(int(mixed.Events[1].Kind), 0);
    QCOMPARE(int(mixed.Events[1].Code), 0x04);
}

void TestMacroFiles::recordToList() {
    MacroRecord record;
    std::memset(&record, 0, sizeof record);
    record.EventCount = 3;
    record.Events[0] = KeyEvent{0, 1, 0x04, 20};
    record.Events[1] = KeyEvent{1, 1, 0x04, 30};
    record.Events[2] = KeyEvent{0, 1, 0x05, 0};
    QCOMPARE(MacroText("1", RecordToEntries(record)),
             QString("1\n0x04 1 0\n20ms\n0x04 1 1\n30ms\n0x05 1 0\n"));

    // A code without a name is the empty key; a mouse button stays one even without its name.
    record.EventCount = 2;
    record.Events[0] = KeyEvent{0, 2, 0xE9, 5};
    record.Events[1] = KeyEvent{1, 4, 0x08, 0};
    const QVector<MacroEntry> entries = RecordToEntries(record);
    QCOMPARE(EntryLine(entries.at(0)), QString("0x00 1 0"));
    QCOMPARE(EntryLine(entries.at(2)), QString("0x08 4 1"));
    QCOMPARE(entries.at(2).Text, MouseButtonNames[3]);
}

void TestMacroFiles::recordLimits() {
    QVector<MacroEntry> many;
    for (int i = 0; i < 80; ++i) {
        if (i) many << Wait("1ms");
        many << Press("A");
    }
    const MacroRecord record = EntriesToRecord(QString(40, 'n'), many);
    QCOMPARE(int(record.EventCount), 70);
    QCOMPARE(int(record.NameLength), 30);
    QCOMPARE(record.Events[69].DelayMs, 1u);

    MacroRecord untrusted = record;
    untrusted.EventCount = 200;
    QCOMPARE(RecordToEntries(untrusted).size(), 2 * 70 - 1);
}

void TestMacroFiles::recordNames_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << QByteArray("Macro A") << 7 << "Macro A";
    QTest::newRow("length ignored") << QByteArray("Fire") << 2 << "Fire";
    QTest::newRow("path characters dropped") << QByteArray("../x/y") << 6 << "..xy";
    QTest::newRow("only dots") << QByteArray("..") << 2 << "Macro4";
    QTest::newRow("blank") << QByteArray("   ") << 3 << "Macro4";
    QTest::newRow("empty") << QByteArray() << 0 << "Macro4";
    QTest::newRow("NULs inside") << QByteArray("a\0b", 3) << 3 << "ab";
    QTest::newRow("all 30 bytes") << QByteArray(30, 'z') << 30 << QString(30, 'z');
}

void TestMacroFiles::recordNames() {
    QFETCH(QByteArray, name);
    QFETCH(int, length);
    QFETCH(QString, expected);
    MacroRecord record;
    std::memset(&record, 0, sizeof record);
    std::memcpy(record.Name, name.constData(), size_t(qMin(name.size(), 30)));
    record.NameLength = quint8(length);
    QCOMPARE(RecordName(record, 3), expected);
}

namespace {
// Icon stream of the pixmap engine with one entry: no picture, only a file name.
void IconNaming(QDataStream& s, const QString& fileName) {
    s << QStringLiteral("QPixmapIconEngine") << qint32(1) << qint32(0) << fileName << QSize(16, 16)
      << quint32(0) << quint32(0);
}

QString MakeFifo(const QString& name) {
    const QString path = TestEnv::FreshDir("fifo") + "/" + name;
    return PipeFixture::Make(path) ? path : QString();
}

ImportError ReadWithin(const QString& path, const QString& fifo, ExportContent& content, bool* returned) {
    return PipeFixture::RunReleasing(
        fifo, [&] { return ReadExport(path, content); }, returned);
}
}  // namespace

void TestMacroFiles::importNeverOpensNamedFiles_data() {
    QTest::addColumn<int>("icon");  // 0 names the pipe, 1 an embedded picture, 2 an unknown engine
    QTest::addColumn<ImportError>("error");
    QTest::newRow("icon naming a pipe") << 0 << ImportError::None;
    QTest::newRow("icon with its picture") << 1 << ImportError::None;
    QTest::newRow("icon of an unknown engine") << 2 << ImportError::Broken;
}

void TestMacroFiles::importNeverOpensNamedFiles() {
    QFETCH(int, icon);
    QFETCH(ImportError, error);
    const QString fifo = MakeFifo("icon.png");
    QVERIFY(!fifo.isEmpty());
    QPixmap picture(8, 8);
    picture.fill(Qt::red);
    const auto writeIcon = [&](QDataStream& s) {
        if (icon == 0) IconNaming(s, fifo);
        if (icon == 1) s << QIcon(picture);
        if (icon == 2) s << QStringLiteral("SvgIconEngine") << fifo;
    };
    ExportWriter writer;
    writer.Head().Count(2).IconItem("A", writeIcon, QByteArray("0", 2)).IconItem("20ms", writeIcon);

    ExportContent content;
    bool returned = false;
    const ImportError result = ReadWithin(writer.Save("icons.ini"), fifo, content, &returned);
    QVERIFY(returned);
    QCOMPARE(result, error);
    if (error == ImportError::None) QCOMPARE(Describe(content.Entries), Describe({Press("A"), Wait("20ms")}));
}

void TestMacroFiles::importOfAPipeReturnsAtOnce() {
    const QString fifo = MakeFifo("macro.ini");
    QVERIFY(!fifo.isEmpty());
    ExportContent content;
    bool returned = false;
    QCOMPARE(ReadWithin(fifo, fifo, content, &returned), ImportError::Unreadable);
    QVERIFY(returned);
}

QTEST_MAIN(TestMacroFiles)
#include "tst_macrofiles.moc"
