// Macros on the button page: macro files read into device records, and the real macro page's saves,
// renames and deletions reaching the simulated mouse through the button page.
#include <QDir>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>
#include <cstring>

#include "DeviceFixture.h"
#include "MacroPageFixture.h"
#include "ProductTables.h"
#include "buttons/Buttoninterface.h"
#include "core/LanguageLoader.h"
#include "core/PostMsg.h"
#include "device/DeviceInfoFile.h"
#include "dialogs/MacroName.h"
#include "macro/MacroFiles.h"
#include "ui_Buttoninterface.h"

using MacroPageFixture::DialogAnswers;
using MacroPageFixture::ReadFile;
using MacroPageFixture::WriteFile;

namespace {
using Event = QVector<int>;  // index, state, kind, code, delay

void NoData(const unsigned char*, int, const unsigned char*, int) {}

// What the mouse itself holds now.
FlashDataMap MouseImage() {
    FlashDataMap image{};
    const QByteArray flash = HidSim::Flash(DeviceFixture::MouseName());
    if (flash.size() != 6912) return image;
    ProtocolDataParser(reinterpret_cast<const unsigned char*>(flash.constData()), &image);
    return image;
}

QVector<int> Entry(const FlashDataMap& image, int button) {
    const ButtonKeyEntry& e = image.ButtonKeys[button];
    return {e.Type, e.Param1, e.Param2};
}

bool SameRecord(const MacroRecord& a, const MacroRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameActions(const KeyActionRecord& a, const KeyActionRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A macro file of n press events, each followed by a delay of its number + 1 ms.
QByteArray LongMacro(int n) {
    QByteArray text = "1\n";
    for (int i = 0; i < n; ++i) {
        text +=
            QByteArray("0x") + QByteArray::number(4 + i % 26, 16).toUpper().rightJustified(2, '0') + " 1 0\n";
        if (i + 1 < n) text += QByteArray::number(i + 1) + "ms\n";
    }
    return text;
}
}  // namespace

class TstButtonMacros : public QObject {
    Q_OBJECT
    Buttoninterface* page = nullptr;
    Macro* macros = nullptr;

    Ui_Buttoninterface* Ui() const { return page->ui; }

    // Both pages on the simulated mouse, with the macro files given, and the first model's extra lines.
    void Start(const QStringList& files, const QString& drive1Extra = QString()) {
        DeviceFixture::Init(ProductTables::Write("macros", drive1Extra));
        MacroPageFixture::FreshMacroFolder();
        for (const QString& name : files) WriteFile(name + ".ini", "1\n0x04 1 0\n10ms\n0x04 1 1\n");
        page = new Buttoninterface;
        macros = new Macro;
        DeviceFixture::ConnectWithImage(NoData);
        UiLive = true;
        page->SlotAllLanguage(0);
        QVERIFY(QMetaObject::invokeMethod(macros, "SlotAllLanguage", Q_ARG(int, 0)));
        QVERIFY(!page->MacroPrefixText.isEmpty());
        page->SlotUpDataButtonUIB(DeviceFixture::ImageNow());
    }

    // The user gives a row a macro from the page's macro list.
    void Assign(int row, const QString& name) {
        page->SlotAddMacroButton();
        page->RowButton(row)->setChecked(true);
        Ui()->stackedWidget_2->setCurrentWidget(Ui()->page_5);
        QToolButton* macroButton = nullptr;
        for (QToolButton* b : page->MacroButtonList)
            if (b->text() == name) macroButton = b;
        QVERIFY2(macroButton, qPrintable(name));
        macroButton->click();
        QCOMPARE(page->RowButton(row)->text(), page->MacroPrefixText + name);
    }

private slots:
    void initTestCase() { LoadLanguageFiles(); }
    void init() { MacroRecording = false; }
    void cleanup() {
        delete macros;
        delete page;
        macros = nullptr;
        page = nullptr;
        UsbServer_Exit();
        UiLive = false;
    }

    // --- macro files to records ---

    void loadsMacroFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("file");  // written under the name cut to 30 bytes; "-": none
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<int>("count");
        QTest::addColumn<QVector<Event>>("events");
        QTest::newRow("press, delay, release")
            << "Fire" << QByteArray("3\n0x04 1 0\n10ms\n0x04 1 1\n") << true << 2
            << QVector<Event>{{0, 0, 1, 4, 10}, {1, 1, 1, 4, 0}};
        // As the macro page sends an empty list.
        QTest::newRow("repeat line only")
            << "Fire" << QByteArray("3\n") << true << 0 << QVector<Event>{{0, 0, 0, 0, 0}};
        QTest::newRow("empty file") << "Fire" << QByteArray() << true << 0 << QVector<Event>{};
        QTest::newRow("two and four parts ignored")
            << "Fire" << QByteArray("1\n0x04 1\n0x04 1 0 0\n0x06 1 1\n") << true << 1
            << QVector<Event>{{0, 1, 1, 6, 0}, {1, 0, 0, 0, 0}};
        QTest::newRow("last line without its end")
            << "Fire" << QByteArray("1\n0x04 1 0\n10ms\n0x04 1 1") << true << 2
            << QVector<Event>{{0, 0, 1, 4, 10}, {1, 0, 0, 0, 0}};
        QTest::newRow("mouse button and modifier")
            << "Fire" << QByteArray("255\n0x01 4 0\n20ms\n0x08 0 1\n") << true << 2
            << QVector<Event>{{0, 0, 4, 1, 20}, {1, 1, 0, 8, 0}};
        QTest::newRow("71 events") << "Fire" << LongMacro(71) << true << 70
                                   << QVector<Event>{{0, 0, 1, 4, 1}, {69, 0, 1, 4 + 69 % 26, 70}};
        QTest::newRow("40-byte name") << QString(40, 'x') << QByteArray("2\n0x04 1 0\n") << true << 1
                                      << QVector<Event>{{0, 0, 1, 4, 0}};
        QTest::newRow("missing file") << "Fire" << QByteArray("-") << false << 0 << QVector<Event>{};
        QTest::newRow("parent folder")
            << ".." << QByteArray("1\n0x04 1 0\n") << false << 0 << QVector<Event>{};
        QTest::newRow("slash") << "a/b" << QByteArray("1\n0x04 1 0\n") << false << 0 << QVector<Event>{};
    }
    void loadsMacroFiles() {
        QFETCH(QString, name);
        QFETCH(QByteArray, file);
        QFETCH(bool, loaded);
        QFETCH(int, count);
        QFETCH(QVector<Event>, events);
        MacroPageFixture::FreshMacroFolder();
        UiLive = true;
        const QString fileName = MacroName::CutToBytes(name);
        if (file != "-") {
            if (MacroName::IsValid(fileName))
                WriteFile(fileName + ".ini", file);
            else
                WriteFile("b.ini", file);  // whatever "a/b" might reach
        }
        MacroRecord record;
        std::memset(&record, 0x5A, sizeof record);
        QCOMPARE(Buttoninterface::LoadMacroFile(name, record), loaded);
        if (!loaded) {
            QVERIFY(SameRecord(record, MacroRecord{}));
            return;
        }
        const QByteArray nameBytes = fileName.toLocal8Bit();
        QCOMPARE(int(record.NameLength), nameBytes.size());
        QCOMPARE(QByteArray(record.Name, int(sizeof record.Name)),
                 nameBytes + QByteArray(int(sizeof record.Name) - nameBytes.size(), '\0'));
        QCOMPARE(int(record.EventCount), count);
        for (const Event& e : events) {
            const KeyEvent& event = record.Events[e[0]];
            QCOMPARE((Event{e[0], event.State, event.Kind, event.Code, int(event.DelayMs)}), e);
        }
        // The record does not depend on the window staying live, but nothing loads before it is.
        UiLive = false;
        QVERIFY(!Buttoninterface::LoadMacroFile(name, record));
        QVERIFY(SameRecord(record, MacroRecord{}));
    }

    void keyNamesToCodes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("code");
        QTest::newRow("LWin") << "LWin" << 0 << 0 << 0x08;
        QTest::newRow("RAlt") << "RAlt" << 3 << 0 << 0x40;
        QTest::newRow("Num0") << "Num0" << 69 << 1 << 98;
        QTest::newRow("Num+") << "Num+" << 5 << 1 << 87;
        QTest::newRow("0") << "0" << 1 << 1 << 39;
        QTest::newRow("backslash") << "\\" << 1 << 1 << 49;
        QTest::newRow("arrow up") << QString::fromUtf8("↑") << 1 << 1 << 82;
        QTest::newRow("APPs") << "APPs" << 1 << 1 << 101;
        QTest::newRow("empty name") << "" << 1 << 1 << 0;
        QTest::newRow("unknown name keeps the code") << "NoSuchKey" << 1 << 1 << 0x77;
        QTest::newRow("back mouse button") << "mouse 3" << 2 << 4 << 0x08;
        QTest::newRow("index past the record") << "A" << 70 << -1 << -1;
        QTest::newRow("negative index") << "A" << -1 << -1 << -1;
    }
    void keyNamesToCodes() {
        QFETCH(QString, name);
        QFETCH(int, index);
        QFETCH(int, kind);
        QFETCH(int, code);
        SetMouseButtonNames(0);
        if (name == "mouse 3") name = MouseButtonNames[3];
        MacroRecord record;
        std::memset(&record, 0, sizeof record);
        for (KeyEvent& event : record.Events) event = KeyEvent{1, 9, 0x77, 33};
        const MacroRecord before = record;
        Buttoninterface::MacroKeyNameToCode(name, index, record);
        if (kind < 0) {
            QVERIFY(SameRecord(record, before));
            return;
        }
        const KeyEvent& event = record.Events[index];
        QCOMPARE((QVector<int>{event.State, event.Kind, event.Code, int(event.DelayMs)}),
                 (QVector<int>{1, kind, code, 33}));
        record.Events[index] = before.Events[index];
        QVERIFY(SameRecord(record, before));
    }

    // Every list the macro page saves loads back to the record the page itself sends for it.
    void pageFilesLoadAsThePageSends_data() {
        QTest::addColumn<QStringList>("items");
        QTest::newRow("empty") << QStringList{};
        QTest::newRow("one key") << QStringList{"+A", "20ms", "-A"};
        QTest::newRow("nested keys") << QStringList{"+LCtrl", "10ms", "+Num+", "5ms",
                                                    "-Num+",  "3ms",  "-LCtrl"};
        QTest::newRow("ends with a delay") << QStringList{"+F5", "300ms"};
        QStringList many;
        for (int i = 0; i < 40; ++i)
            many << "+B"
                 << "1ms"
                 << "-B" << QString::number(i) + "ms";
        QTest::newRow("80 events") << many;
    }
    void pageFilesLoadAsThePageSends() {
        QFETCH(QStringList, items);
        Start({"Go"});
        MacroPageFixture::Select(*macros, "Go");
        MacroPageFixture::EventList(*macros)->clear();
        MacroPageFixture::Fill(*macros, items);
        MacroPageFixture::Child<QSpinBox>(*macros, "NumberEdit")->setValue(5);
        MacroPageFixture::Invoke(*macros, "on_Save_clicked");
        QCOMPARE(MacroPageFixture::Shown(*macros), items);
        MacroRecord record{};
        QVERIFY(Buttoninterface::LoadMacroFile("Go", record));
        QVERIFY(SameRecord(record, MacroFiles::EntriesToRecord("Go", macros->Entries())));
        QCOMPARE(Buttoninterface::ReadMacroRepeat("Go"), QString("5"));
    }

    // --- the macro page's edits on the mouse ---

    // Saved events reach every row showing the macro, after the page's wait.
    void savedEvents() {
        Start({"Go", "Other"});
        Assign(4, "Go");
        Assign(5, "Go");
        Assign(1, "Other");
        const MacroRecord other = MouseImage().ButtonMacros[0];
        QList<qint64> sentAt;
        QList<int> sentTo;
        QObject listener;  // the connection ends with the test
        QObject::connect(PostMsg::GetInstance(), &PostMsg::SigMacroDownLoadData, &listener,
                         [&](const QString&, int index) {
                             sentAt << Clock::ElapsedMs();
                             sentTo << index;
                         });
        MacroPageFixture::Select(*macros, "Go");
        // The user adds a key press after the last event.
        DialogAnswers answers;
        ScopedModalScript script([&](QDialog& d) { return answers.Answer(d); });
        MacroPageFixture::EventList(*macros)->setCurrentRow(2);
        QVERIFY(QMetaObject::invokeMethod(macros, "on_ChooseEvent_activated", Q_ARG(int, 1)));
        const qint64 start = Clock::ElapsedMs();
        MacroPageFixture::Invoke(*macros, "on_Save_clicked");
        // In row order: row 4 is device button 4, row 5 device button 3.
        QCOMPARE(sentTo, (QList<int>{4, 3}));
        QVERIFY(sentAt.first() - start >= 1500);
        const MacroRecord expected = MacroFiles::EntriesToRecord("Go", macros->Entries());
        QCOMPARE(int(expected.EventCount), 3);
        const FlashDataMap mouse = MouseImage();
        for (int b : {4, 3}) {
            QVERIFY(SameRecord(mouse.ButtonMacros[b], expected));
            QCOMPARE(Entry(mouse, b), (QVector<int>{6, b, 1}));
        }
        QVERIFY(SameRecord(mouse.ButtonMacros[0], other));
    }

    // A new repeat value reaches the entries of both rows; their records stay.
    void savedRepeat() {
        Start({"Go"});
        Assign(3, "Go");
        Assign(5, "Go");
        const FlashDataMap before = MouseImage();
        QSignalSpy download(PostMsg::GetInstance(), SIGNAL(SigMacroDownLoadData(QString, int)));
        MacroPageFixture::Select(*macros, "Go");
        MacroPageFixture::Child<QSpinBox>(*macros, "NumberEdit")->setValue(7);
        MacroPageFixture::Invoke(*macros, "on_Save_clicked");
        QCOMPARE(download.count(), 0);
        const FlashDataMap mouse = MouseImage();
        QCOMPARE(Entry(mouse, 2), (QVector<int>{6, 2, 7}));
        QCOMPARE(Entry(mouse, 3), (QVector<int>{6, 3, 7}));
        for (int b : {2, 3}) QVERIFY(SameRecord(mouse.ButtonMacros[b], before.ButtonMacros[b]));

        // A macro no row shows: nothing goes to the mouse.
        WriteFile("Idle.ini", "1\n");
        macros->LoadMacroList();
        HidSim::ClearCallLog();
        MacroPageFixture::Select(*macros, "Idle");
        MacroPageFixture::Child<QSpinBox>(*macros, "NumberEdit")->setValue(9);
        MacroPageFixture::Invoke(*macros, "on_Save_clicked");
        QCOMPARE(ReadFile("Idle.ini"), QByteArray("9\n"));
        QVERIFY(!DeviceFixture::HandedOver());
    }

    void rename_data() {
        QTest::addColumn<bool>("online");
        QTest::newRow("online") << true;
        QTest::newRow("offline") << false;
    }
    void rename() {
        QFETCH(bool, online);
        Start({"Go"});
        Assign(1, "Go");
        Assign(5, "Go");
        const FlashDataMap before = MouseImage();
        if (!online) QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        MacroPageFixture::Select(*macros, "Go");
        DialogAnswers answers;
        answers.Name = "Rec";
        ScopedModalScript script([&](QDialog& d) { return answers.Answer(d); });
        MacroPageFixture::Invoke(*macros, "RenameMacro");
        QVERIFY(QFile::exists(MacroPageFixture::MacroFolder() + "/Rec.ini"));
        // The rows show what the mouse holds.
        const QString shown = page->MacroPrefixText + (online ? "Rec" : "Go");
        QCOMPARE(Ui()->FireKey->text(), shown);
        QCOMPARE(Ui()->TopMusic->text(), shown);
        const FlashDataMap mouse = MouseImage();
        for (int b : {0, 3}) {
            MacroRecord expected = before.ButtonMacros[b];
            if (online) {
                std::memset(expected.Name, 0, sizeof expected.Name);
                std::memcpy(expected.Name, "Rec", 3);
                expected.NameLength = 3;
            }
            QVERIFY(SameRecord(mouse.ButtonMacros[b], expected));
            QCOMPARE(Entry(mouse, b), Entry(before, b));
        }
    }

    // A deleted macro leaves its rows with the product's default, or the row's own where the product
    // gives none the page can apply; it never comes back as a file.
    void deleteMacro_data() {
        QTest::addColumn<QString>("keyParam");
        QTest::addColumn<int>("row");
        QTest::addColumn<QVector<int>>("entry");
        QTest::addColumn<QString>("actions");  // "media E9", "combo" or "zero"
        QTest::addColumn<QString>("chooser");  // whose text the row shows; empty: the combination text
        QTest::newRow("media key") << "KeyParam1=0x05,0,0xE9\n"
                                   << 1 << QVector<int>{5, 0, 0} << "media E9"
                                   << "VolumeDown";
        QTest::newRow("combination") << "KeyParam3=0x05,0,0,Ctrl+Num+\n"
                                     << 3 << QVector<int>{5, 0, 0} << "combo"
                                     << "";
        QTest::newRow("two elements") << "KeyParam5=0x05,1\n"
                                      << 4 << QVector<int>{1, 16, 0} << "zero"
                                      << "ForWardKey";
        QTest::newRow("none") << "" << 5 << QVector<int>{1, 8, 0} << "zero"
                              << "BackKey_2";
    }
    void deleteMacro() {
        QFETCH(QString, keyParam);
        QFETCH(int, row);
        QFETCH(QVector<int>, entry);
        QFETCH(QString, actions);
        QFETCH(QString, chooser);
        Start({"Go", "Other"}, keyParam);
        Assign(row, "Go");
        Assign(row == 2 ? 6 : 2, "Other");
        const int button = Buttoninterface::RowDeviceButton(row);
        const FlashDataMap before = MouseImage();
        MacroPageFixture::Select(*macros, "Go");
        DialogAnswers answers;
        ScopedModalScript script([&](QDialog& d) { return answers.Answer(d); });
        MacroPageFixture::Invoke(*macros, "on_DeleteHong_clicked");
        QVERIFY(!QFile::exists(MacroPageFixture::MacroFolder() + "/Go.ini"));

        const FlashDataMap mouse = MouseImage();
        QCOMPARE(Entry(mouse, button), entry);
        KeyActionRecord expected{};
        if (actions == "media E9") expected = Buttoninterface::MakeMediaRecord(0x00, 0xE9);
        if (actions == "combo") QVERIFY(Buttoninterface::ComboTextToRecord("Ctrl+Num+", expected));
        QVERIFY(SameActions(DeviceFixture::LastHandedImage().ButtonActions[button], expected));
        QCOMPARE(page->RowButton(row)->text(),
                 chooser.isEmpty() ? QString("Ctrl+Num+") : page->findChild<QToolButton*>(chooser)->text());
        const int otherButton = Buttoninterface::RowDeviceButton(row == 2 ? 6 : 2);
        QVERIFY(SameRecord(mouse.ButtonMacros[otherButton], before.ButtonMacros[otherButton]));
        QCOMPARE(page->RowButton(row == 2 ? 6 : 2)->text(), page->MacroPrefixText + "Other");
        QVERIFY(page->SelectedDeviceButton() < 0);
        QCOMPARE(Ui()->stackedWidget->currentWidget(), Ui()->page);
        QCOMPARE(Ui()->stackedWidget_2->currentWidget(), Ui()->page_9);

        // The next read of the mouse brings no file back.
        page->SlotUpDataButtonUIButton(MouseImage());
        QVERIFY(!QFile::exists(MacroPageFixture::MacroFolder() + "/Go.ini"));
        QCOMPARE(QDir(MacroPageFixture::MacroFolder()).entryList(QDir::Files), QStringList{"Other.ini"});
    }

    // A read of the mouse rebuilds a macro row's file from its record; the cache and the factory
    // state change no file.
    void refreshRoads_data() {
        QTest::addColumn<QString>("road");
        QTest::newRow("mouse read") << "mouse";
        QTest::newRow("cache") << "cache";
        QTest::newRow("language switch") << "language";
        QTest::newRow("factory reset") << "reset";
    }
    void refreshRoads() {
        QFETCH(QString, road);
        Start({"Go"});
        Assign(2, "Go");
        const FlashDataMap mouse = MouseImage();
        // Edited since the mouse got it.
        const QByteArray edited = "4\n0x05 1 0\n";
        WriteFile("Go.ini", edited);
        const QString rowText = Ui()->RightKey->text();
        HidSim::ClearCallLog();
        if (road == "mouse") {
            page->SlotUpDataButtonUIButton(mouse);
            QCOMPARE(ReadFile("Go.ini"), QByteArray("1\n0x04 1 0\n10ms\n0x04 1 1\n"));
            MacroRecord loaded{};
            QVERIFY(Buttoninterface::LoadMacroFile("Go", loaded));
            QVERIFY(SameRecord(loaded, mouse.ButtonMacros[1]));
            return;
        }
        if (road == "cache") {
            FlashDataFromDevice = false;
            page->SlotUpDataButtonUIButton(mouse);
        } else if (road == "language") {
            const QString cache = TestEnv::FreshDir("cache") + "/mouse.bin";
            QVERIFY(WriteDeviceInfoFile(cache, mouse));
            SetDeviceInfoLoadName(cache);
            page->SlotAllLanguage(1);
            QCOMPARE(Ui()->RightKey->text(), page->MacroPrefixText + "Go");
            page->SlotAllLanguage(0);
        } else {
            page->SlotFormResetButton();
            QCOMPARE(page->ButtonTypeList[1], 1);
        }
        QCOMPARE(ReadFile("Go.ini"), edited);
        QCOMPARE(Ui()->RightKey->text(), rowText);
        if (road == "reset") QVERIFY(!DeviceFixture::HandedOver());
    }
};

QTEST_MAIN(TstButtonMacros)
#include "tst_buttonmacros.moc"
