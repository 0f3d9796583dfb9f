#include <QAction>
#include <QComboBox>
#include <QListView>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

#include "MacroPageFixture.h"
#include "SmallDisk.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "dialogs/FileChooser.h"
#include "platform/Clock.h"
#include "platform/KeyCapture.h"

using namespace MacroPageFixture;

namespace {
ManualClock& TestClock() {
    static ManualClock clock;
    return clock;
}
}  // namespace

class TestMacroPage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        PutTexts();
        Clock::Set(&TestClock());
    }
    void init() {
        FreshMacroFolder();
        MacroRecording = false;
    }

    void listsIniFilesOnly();
    void create();
    void createDuplicate_data();
    void createDuplicate();
    void save_data();
    void save();
    void saveSignals_data();
    void saveSignals();
    void saveActsOnShownMacro();
    void loadSetsLoopOptions_data();
    void loadSetsLoopOptions();
    void fixedDelayLimit();
    void deleteMacro_data();
    void deleteMacro();
    void rename();
    void renameFailureChangesNothing();
    void contextMenu();
    void languageKeepsMouseButtons();
    void eventChooserOpensOnFiveEvents();

    void insert_data();
    void insert();
    void deleteEvents_data();
    void deleteEvents();
    void insertionLimit();
    void amendRelease();
    void amendWhileListChanges();
    void editsNeedMacro();

    void exportImport();
    void importRefusals_data();
    void importRefusals();
    void exportFromRightClick();
    void fullDiskTellsTheUser_data();
    void fullDiskTellsTheUser();
};

void TestMacroPage::listsIniFilesOnly() {
    for (const char* name : {"c.ini", "B.ini", "a.ini", "layout.xml.ini", "notes.txt"})
        WriteFile(name, "1\n");
    // Left by a save that a kill cut short; it goes when the page starts.
    WriteFile("a.ini.GQrTMP", "2\n");
    Macro page;
    QVERIFY(!QFile::exists(MacroFolder() + "/a.ini.GQrTMP"));
    QCOMPARE(ReadFile("a.ini"), QByteArray("1\n"));
    QStringList names;
    for (int row = 0; row < MacroList(page)->count(); ++row) names << MacroList(page)->item(row)->text();
    QCOMPARE(names, QStringList({"a", "B", "c", "layout.xml"}));
    QVERIFY(page.ShownMacro().isEmpty());
    QCOMPARE(EventList(page)->count(), 0);
    QVERIFY(!Child<QToolButton>(page, "Save")->isEnabled());
}

void TestMacroPage::create() {
    WriteFile("Old.ini", "254\n0x04 1 0\n");
    Macro page;
    Select(page, "Old");
    QVERIFY(Child<QCheckBox>(page, "ReUntilLoose")->isChecked());
    DialogAnswers answers;
    answers.Name = "New";
    ScopedModalScript script([&](QDialog& d) { return answers.Answer(d); });
    Invoke(page, "on_NewHong_clicked");
    QCOMPARE(answers.Opened, QStringList({"QuestionDialog"}));
    QCOMPARE(page.ShownMacro(), QString("New"));
    QCOMPARE(MacroList(page)->currentItem()->text(), QString("New"));
    QVERIFY(QFile::exists(MacroFolder() + "/New.ini"));
    QCOMPARE(ReadFile("New.ini"), QByteArray());
    QCOMPARE(EventList(page)->count(), 0);
    QVERIFY(Child<QCheckBox>(page, "ReNumber")->isChecked());
    QCOMPARE(Child<QSpinBox>(page, "NumberEdit")->value(), 1);
    QVERIFY(page.LoopChanged);
    QVERIFY(Child<QToolButton>(page, "Save")->isEnabled());

    // Cancelled: nothing new.
    answers.Name.clear();
    Invoke(page, "on_NewHong_clicked");
    QCOMPARE(MacroList(page)->count(), 2);
}

void TestMacroPage::createDuplicate_data() {
    QTest::addColumn<bool>("listed");
    QTest::newRow("macro of the list") << true;
    QTest::newRow("file made after the list was read") << false;
}

void TestMacroPage::createDuplicate() {
    QFETCH(bool, listed);
    if (listed) WriteFile("Same.ini", "3\n0x04 1 0\n");
    Macro page;
    if (!listed) WriteFile("Same.ini", "3\n0x04 1 0\n");
    DialogAnswers answers;
    answers.Name = "Same";
    ScopedModalScript script([&](QDialog& d) { return answers.Answer(d); });
    Invoke(page, "on_NewHong_clicked");
    QCOMPARE(answers.Opened, QStringList({"QuestionDialog", "SameMacro"}));
    QCOMPARE(MacroList(page)->count(), listed ? 1 : 0);
    QCOMPARE(ReadFile("Same.ini"), QByteArray("3\n0x04 1 0\n"));
}

void TestMacroPage::save_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("firstLine");
    QTest::newRow("until any pressed") << "ReUntilClick" << 1 << QByteArray("255");
    QTest::newRow("until released") << "ReUntilLoose" << 1 << QByteArray("254");
    QTest::newRow("until pressed") << "ReUntil" << 1 << QByteArray("253");
    QTest::newRow("250 times") << "ReNumber" << 250 << QByteArray("250");
    QTest::newRow("once") << "ReNumber" << 1 << QByteArray("1");
}

void TestMacroPage::save() {
    QFETCH(QString, mode);
    QFETCH(int, count);
    QFETCH(QByteArray, firstLine);
    WriteFile("M.ini", "");
    Macro page;
    Select(page, "M");
    Fill(page, {"+A", "20ms", "-A"});
    Child<QCheckBox>(page, qPrintable(mode))->setChecked(true);
    Child<QSpinBox>(page, "NumberEdit")->setValue(count);
    Invoke(page, "on_Save_clicked");
    QCOMPARE(ReadFile("M.ini"), firstLine + "\n0x04 1 0\n20ms\n0x04 1 1\n");
    QVERIFY(!Child<QToolButton>(page, "Save")->isEnabled());
}

void TestMacroPage::saveSignals_data() {
    QTest::addColumn<bool>("changeEvents");
    QTest::addColumn<bool>("changeLoop");
    QTest::addColumn<QList<int>>("indexes");
    QTest::newRow("loop only") << false << true << QList<int>{1};
    QTest::newRow("events and loop") << true << true << QList<int>{0, 1};
    QTest::newRow("events only") << true << false << QList<int>{0};
    QTest::newRow("nothing") << false << false << QList<int>{};
}

void TestMacroPage::saveSignals() {
    QFETCH(bool, changeEvents);
    QFETCH(bool, changeLoop);
    QFETCH(QList<int>, indexes);
    WriteFile("M.ini", "1\n0x04 1 0\n10ms\n0x04 1 1\n");
    Macro page;
    Select(page, "M");
    QSignalSpy spy(PostMsg::GetInstance(), &PostMsg::SigUpDataMacro);
    DialogAnswers answers;
    ScopedModalScript script([&](QDialog& d) { return answers.Answer(d); });
    if (changeEvents) {
        EventList(page)->setCurrentRow(2);
        QMetaObject::invokeMethod(&page, "on_ChooseEvent_activated", Q_ARG(int, 4));
    }
    if (changeLoop) Child<QSpinBox>(page, "NumberEdit")->setValue(7);
    Invoke(page, "on_Save_clicked");
    QCOMPARE(spy.count(), indexes.size());
    for (int i = 0; i < indexes.size(); ++i) {
        QCOMPARE(spy.at(i).at(0).toString(), QString("M"));
        QCOMPARE(spy.at(i).at(1).toInt(), indexes.at(i));
    }
    QVERIFY(!page.EventsChanged && !page.LoopChanged);
}

void TestMacroPage::saveActsOnShownMacro() {
    WriteFile("A.ini", "1\n0x04 1 0\n");
    WriteFile("B.ini", "2\n0x05 1 0\n");
    Macro page;
    Select(page, "A");
    Fill(page, {"10ms", "+C"});
    // A right press on B makes it current without reading it.
    MacroList(page)->setCurrentItem(ItemNamed(page, "B"));
    Invoke(page, "on_Save_clicked");
    QCOMPARE(ReadFile("A.ini"), QByteArray("1\n0x04 1 0\n10ms\n0x06 1 0\n"));
    QCOMPARE(ReadFile("B.ini"), QByteArray("2\n0x05 1 0\n"));
}

void TestMacroPage::loadSetsLoopOptions_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("count");
    QTest::newRow("254") << QByteArray("254\n") << "ReUntilLoose" << 3;
    QTest::newRow("255") << QByteArray("255\n") << "ReUntilClick" << 3;
    QTest::newRow("253") << QByteArray("253\n") << "ReUntil" << 3;
    QTest::newRow("250") << QByteArray("250\n") << "ReNumber" << 250;
    QTest::newRow("0") << QByteArray("0\n") << "ReNumber" << 1;
    QTest::newRow("251") << QByteArray("251\n") << "ReNumber" << 1;
    QTest::newRow("word") << QByteArray("word\n") << "ReNumber" << 1;
    QTest::newRow("empty file keeps options") << QByteArray() << "ReUntil" << 3;
}

void TestMacroPage::loadSetsLoopOptions() {
    QFETCH(QByteArray, file);
    QFETCH(QString, mode);
    QFETCH(int, count);
    WriteFile("Before.ini", "253\n");
    WriteFile("M.ini", file);
    Macro page;
    Child<QSpinBox>(page, "NumberEdit")->setValue(3);
    Select(page, "Before");
    page.LoopChanged = false;
    Select(page, "M");
    QVERIFY(Child<QCheckBox>(page, qPrintable(mode))->isChecked());
    QCOMPARE(Child<QSpinBox>(page, "NumberEdit")->value(), count);
    QVERIFY(!page.LoopChanged);
    QVERIFY(!Child<QToolButton>(page, "Save")->isEnabled());
}

void TestMacroPage::fixedDelayLimit() {
    Macro page;
    QSpinBox* box = Child<QSpinBox>(page, "DelayTime");
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, "70000");
    QCOMPARE(box->value(), 65535);
}

void TestMacroPage::deleteMacro_data() {
    QTest::addColumn<bool>("confirm");
    QTest::newRow("confirmed") << true;
    QTest::newRow("not confirmed") << false;
}

void TestMacroPage::deleteMacro() {
    QFETCH(bool, confirm);
    WriteFile("M.ini", "1\n0x04 1 0\n");
    Macro page;
    Select(page, "M");
    DialogAnswers answers;
    answers.Confirm = confirm;
    ScopedModalScript script([&](QDialog& d) { return answers.Answer(d); });
    QSignalSpy spy(PostMsg::GetInstance(), &PostMsg::SigDeleteMacroButton);
    Invoke(page, "on_DeleteHong_clicked");
    QCOMPARE(answers.Opened, QStringList({"DeleteConfirm"}));
    QCOMPARE(QFile::exists(MacroFolder() + "/M.ini"), !confirm);
    QCOMPARE(MacroList(page)->count(), confirm ? 0 : 1);
    QCOMPARE(spy.count(), confirm ? 1 : 0);
    if (confirm) {
        QCOMPARE(spy.at(0).at(0).toString(), LanguageFixture::Text("MacroSeond", 0) + "M");
        QCOMPARE(EventList(page)->count(), 0);
        QVERIFY(page.ShownMacro().isEmpty());
        QVERIFY(!MacroList(page)->currentItem());
    }
}

void TestMacroPage::rename() {
    WriteFile("A.ini", "1\n0x04 1 0\n");
    Macro page;
    Select(page, "A");
    DialogAnswers answers;
    answers.Name = "B";
    ScopedModalScript script([&](QDialog& d) { return answers.Answer(d); });
    QSignalSpy spy(PostMsg::GetInstance(), &PostMsg::SigMacroRename);
    Invoke(page, "RenameMacro");
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QString("A"));
    QCOMPARE(spy.at(0).at(1).toString(), QString("B"));
    QVERIFY(!QFile::exists(MacroFolder() + "/A.ini"));
    QCOMPARE(ReadFile("B.ini"), QByteArray("1\n0x04 1 0\n"));
    QCOMPARE(page.ShownMacro(), QString("B"));
}

void TestMacroPage::renameFailureChangesNothing() {
    WriteFile("A.ini", "1\n");
    Macro page;
    Select(page, "A");
    // The file went away: it cannot be renamed, so the macro keeps its name.
    QFile::remove(MacroFolder() + "/A.ini");
    DialogAnswers answers;
    answers.Name = "B";
    ScopedModalScript script([&](QDialog& d) { return answers.Answer(d); });
    QSignalSpy spy(PostMsg::GetInstance(), &PostMsg::SigMacroRename);
    Invoke(page, "RenameMacro");
    QCOMPARE(spy.count(), 0);
    QCOMPARE(MacroList(page)->item(0)->text(), QString("A"));
    QVERIFY(!QFile::exists(MacroFolder() + "/B.ini"));
}

void TestMacroPage::contextMenu() {
    WriteFile("M.ini", "1\n");
    Macro page;
    page.show();
    QListWidget* list = MacroList(page);
    const auto texts = [](QMenu* menu) {
        QStringList result;
        for (QAction* action : menu->actions()) result << action->text();
        return result;
    };
    QMenu* empty = page.ContextMenu(QPoint(5, list->viewport()->height() - 5));
    QCOMPARE(texts(empty),
             QStringList({LanguageFixture::Text("NewMacro", 0), LanguageFixture::Text("MacroImport", 0)}));
    QMenu* overItem = page.ContextMenu(list->visualItemRect(list->item(0)).center());
    QCOMPARE(texts(overItem),
             QStringList({LanguageFixture::Text("MacroExport", 0), LanguageFixture::Text("Rename", 0),
                          LanguageFixture::Text("Delete", 0)}));
    QCOMPARE(list->currentItem(), list->item(0));
    delete empty;
    delete overItem;
}

void TestMacroPage::languageKeepsMouseButtons() {
    WriteFile("M.ini", "1\n0x01 4 0\n10ms\n0x01 4 1\n");
    Macro page;
    Select(page, "M");
    QCOMPARE(Shown(page),
             QStringList({"+" + LanguageFixture::Text("2", 0), "10ms", "-" + LanguageFixture::Text("2", 0)}));
    page.SlotAllLanguage(1);
    QCOMPARE(Shown(page),
             QStringList({"+" + LanguageFixture::Text("2", 1), "10ms", "-" + LanguageFixture::Text("2", 1)}));
    QVERIFY(!page.EventsChanged);
    page.SlotAllLanguage(0);
    Invoke(page, "on_Save_clicked");
    QCOMPARE(ReadFile("M.ini"), QByteArray("1\n0x01 4 0\n10ms\n0x01 4 1\n"));
    // A name the vocabulary no longer knows still saves its key.
    Select(page, "M");
    MouseButtonNames[0] = "Renamed";
    Invoke(page, "on_Save_clicked");
    QCOMPARE(ReadFile("M.ini"), QByteArray("1\n0x01 4 0\n10ms\n0x01 4 1\n"));
    SetMouseButtonNames(0);
}

// The open chooser shows five of its eight events at a time, starting with the first event: its empty
// "nothing chosen" item is not offered.
void TestMacroPage::eventChooserOpensOnFiveEvents() {
    Macro page;
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    auto* chooser = Child<QComboBox>(page, "ChooseEvent");
    auto* view = qobject_cast<QListView*>(chooser->view());
    QVERIFY(view);
    QCOMPARE(chooser->count(), 9);
    chooser->showPopup();
    QVERIFY(view->isVisible());
    QList<int> seen;
    for (int row = 0; row < chooser->count(); ++row) {
        const QRect place = view->visualRect(chooser->model()->index(row, 0));
        if (!view->isRowHidden(row) && place.isValid() && view->viewport()->rect().contains(place))
            seen.append(row);
    }
    chooser->hidePopup();
    QCOMPARE(seen, QList<int>({1, 2, 3, 4, 5}));
}

// Event list edits: the list before, the current row, the operation, the list after.
void TestMacroPage::insert_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("choice");
    QTest::addColumn<QStringList>("after");
    const QString left = LanguageFixture::Text("2", 0);
    const QString back = LanguageFixture::Text("6", 0);
    QTest::newRow("press into empty list") << QStringList{} << -1 << 1 << QStringList{"+C"};
    QTest::newRow("left click into empty list")
        << QStringList{} << -1 << 4 << QStringList{"+" + left, "10ms", "-" + left};
    QTest::newRow("press without current appends")
        << QStringList{"+A"} << -1 << 1 << QStringList{"+A", "10ms", "+C"};
    QTest::newRow("release after first event")
        << QStringList{"+A", "10ms", "+B"} << 0 << 2 << QStringList{"+A", "10ms", "-C", "10ms", "+B"};
    QTest::newRow("release after the delay")
        << QStringList{"+A", "10ms", "+B"} << 1 << 2 << QStringList{"+A", "10ms", "-C", "10ms", "+B"};
    QTest::newRow("press after last event")
        << QStringList{"+A", "10ms", "+B"} << 2 << 1 << QStringList{"+A", "10ms", "+B", "10ms", "+C"};
    QTest::newRow("press after a middle event") << QStringList{"+A", "5ms", "+B", "6ms", "+D"} << 2 << 1
                                                << QStringList{"+A", "5ms", "+B", "6ms", "+C", "10ms", "+D"};
    QTest::newRow("press after a lone event keeps alternating")
        << QStringList{"+A"} << 0 << 1 << QStringList{"+A", "10ms", "+C"};
    QTest::newRow("click after a lone event keeps alternating")
        << QStringList{"+A"} << 0 << 8 << QStringList{"+A", "10ms", "+" + back, "10ms", "-" + back};
    QTest::newRow("click after first event")
        << QStringList{"+A", "10ms", "+B"} << 0 << 4
        << QStringList{"+A", "10ms", "+" + left, "10ms", "-" + left, "10ms", "+B"};
    QTest::newRow("click after a middle event")
        << QStringList{"+A", "5ms", "+B", "6ms", "+D"} << 2 << 4
        << QStringList{"+A", "5ms", "+B", "10ms", "+" + left, "10ms", "-" + left, "6ms", "+D"};
    QTest::newRow("click on a delay")
        << QStringList{"+A", "5ms", "+B"} << 1 << 4
        << QStringList{"+A", "5ms", "+" + left, "10ms", "-" + left, "10ms", "+B"};
    QTest::newRow("delay on an event replaces the one before")
        << QStringList{"+A", "10ms", "+B", "10ms", "+C"} << 2 << 3
        << QStringList{"+A", "300ms", "+B", "10ms", "+C"};
    QTest::newRow("delay on a delay replaces it") << QStringList{"+A", "10ms", "+B", "10ms", "+C"} << 3 << 3
                                                  << QStringList{"+A", "10ms", "+B", "300ms", "+C"};
    QTest::newRow("delay on the first event does nothing")
        << QStringList{"+A", "10ms", "+B", "10ms", "+C"} << 0 << 3
        << QStringList{"+A", "10ms", "+B", "10ms", "+C"};
    QTest::newRow("delay without a current item does nothing")
        << QStringList{"+A", "10ms", "+B"} << -1 << 3 << QStringList{"+A", "10ms", "+B"};
}

void TestMacroPage::insert() {
    QFETCH(QStringList, before);
    QFETCH(int, row);
    QFETCH(int, choice);
    QFETCH(QStringList, after);
    WriteFile("M.ini", "");
    Macro page;
    Select(page, "M");
    Fill(page, before);
    EventList(page)->setCurrentRow(row);
    DialogAnswers answers;
    ScopedModalScript script([&](QDialog& d) { return answers.Answer(d); });
    QMetaObject::invokeMethod(&page, "on_ChooseEvent_activated", Q_ARG(int, choice));
    QCOMPARE(Shown(page), after);
    QCOMPARE(page.EventsChanged, before != after);
    QCOMPARE(Child<QToolButton>(page, "Save")->isEnabled(), before != after);
}

void TestMacroPage::deleteEvents_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("after");
    const QStringList five{"+A", "50ms", "+B", "20ms", "+C"};
    QTest::newRow("middle event") << five << 2 << QStringList{"+A", "50ms", "+C"};
    QTest::newRow("last event") << five << 4 << QStringList{"+A", "50ms", "+B"};
    QTest::newRow("a delay") << five << 3 << QStringList{"+A", "50ms", "+C"};
    QTest::newRow("first event") << five << 0 << QStringList{"+B", "20ms", "+C"};
    QTest::newRow("three items, first current") << QStringList{"+A", "5ms", "+B"} << 0 << QStringList{};
    QTest::newRow("three items, none current") << QStringList{"+A", "5ms", "+B"} << -1 << QStringList{};
    QTest::newRow("one item") << QStringList{"+A"} << 0 << QStringList{};
    QTest::newRow("five items, none current") << five << -1 << five;
}

void TestMacroPage::deleteEvents() {
    QFETCH(QStringList, before);
    QFETCH(int, row);
    QFETCH(QStringList, after);
    WriteFile("M.ini", "");
    Macro page;
    Select(page, "M");
    Fill(page, before);
    EventList(page)->setCurrentRow(row);
    page.EventsChanged = false;
    Invoke(page, "on_DeleteKey_clicked");
    QCOMPARE(Shown(page), after);
    QCOMPARE(page.EventsChanged, before != after);
}

void TestMacroPage::insertionLimit() {
    WriteFile("M.ini", "");
    Macro page;
    Select(page, "M");
    QStringList items{"+A"};
    for (int i = 1; i < 69; ++i)
        items << "1ms"
              << "+A";
    Fill(page, items);
    EventList(page)->setCurrentRow(-1);
    DialogAnswers answers;
    ScopedModalScript script([&](QDialog& d) { return answers.Answer(d); });
    // A click needs two events; only one fits.
    QMetaObject::invokeMethod(&page, "on_ChooseEvent_activated", Q_ARG(int, 4));
    QCOMPARE(answers.Opened, QStringList({"KeyNumberLimit"}));
    QCOMPARE(EventList(page)->count(), 2 * 69 - 1);
    QMetaObject::invokeMethod(&page, "on_ChooseEvent_activated", Q_ARG(int, 1));
    QCOMPARE(EventList(page)->count(), 2 * 70 - 1);
    QMetaObject::invokeMethod(&page, "on_ChooseEvent_activated", Q_ARG(int, 1));
    QCOMPARE(EventList(page)->count(), 2 * 70 - 1);
    QCOMPARE(answers.Opened.count("KeyNumberLimit"), 2);
}

void TestMacroPage::amendRelease() {
    WriteFile("M.ini", "1\n0x04 1 0\n10ms\n0x04 1 1\n");
    Macro page;
    Select(page, "M");
    DialogAnswers answers;
    answers.Key = "LShift";
    ScopedModalScript script([&](QDialog& d) { return answers.Answer(d); });
    EventList(page)->setCurrentRow(2);
    Invoke(page, "on_Amend_clicked");
    QCOMPARE(Shown(page), QStringList({"+A", "10ms", "-LShift"}));
    QVERIFY(page.EventsChanged);
    EventList(page)->setCurrentRow(1);
    answers.Delay = 1234;
    Invoke(page, "on_Amend_clicked");
    Invoke(page, "on_Save_clicked");
    QCOMPARE(ReadFile("M.ini"), QByteArray("1\n0x04 1 0\n1234ms\n0x02 0 1\n"));
    // A cancelled key dialog changes nothing.
    answers.KeyOk = false;
    EventList(page)->setCurrentRow(0);
    Invoke(page, "on_Amend_clicked");
    QCOMPARE(Shown(page).first(), QString("+A"));
}

void TestMacroPage::amendWhileListChanges() {
    WriteFile("M.ini", "1\n0x04 1 0\n10ms\n0x04 1 1\n");
    Macro page;
    Select(page, "M");
    EventList(page)->setCurrentRow(2);
    // A device refresh turns a record into a file while the key dialog is open.
    ScopedModalScript script([](QDialog& d) {
        PostMsg::GetInstance()->EmitSigButtonToMacro(FlashDataMap{}, 0);
        auto& key = static_cast<addKey&>(d);
        key.OkFlag = true;
        key.KeyName = "B";
        return int(QDialog::Accepted);
    });
    Invoke(page, "on_Amend_clicked");
    QCOMPARE(EventList(page)->count(), 0);
    QCOMPARE(ReadFile("M.ini"), QByteArray("1\n0x04 1 0\n10ms\n0x04 1 1\n"));
}

void TestMacroPage::editsNeedMacro() {
    Macro page;
    DialogAnswers answers;
    ScopedModalScript script([&](QDialog& d) { return answers.Answer(d); });
    for (int choice : {1, 4})
        QMetaObject::invokeMethod(&page, "on_ChooseEvent_activated", Q_ARG(int, choice));
    page.AddKeyItem("A", true);
    QCOMPARE(EventList(page)->count(), 0);
    Invoke(page, "on_StartRecord_clicked");
    QCOMPARE(answers.Opened.last(), QString("ExeIsRun"));
    QVERIFY(!MacroRecording);
}

void TestMacroPage::exportImport() {
    WriteFile("M.ini", "253\n0x04 1 0\n20ms\n0x04 1 1\n35ms\n0x10 4 0\n");
    Macro page;
    Select(page, "M");
    const QStringList events = Shown(page);
    const QString path = QDir::homePath() + "/exported.ini";
    QFile::remove(path);
    ScopedFileChooserScript chooser([&](FileChooser::Mode, const QString&, const QString&) { return path; });
    DialogAnswers answers;
    ScopedModalScript script([&](QDialog& d) { return answers.Answer(d); });
    Invoke(page, "ExPortMacro");
    QVERIFY(QFile::exists(path));

    // The name is taken while M exists.
    Invoke(page, "InPortMacro");
    QCOMPARE(answers.Opened, QStringList({"SameMacro"}));
    answers.Opened.clear();
    Invoke(page, "on_DeleteHong_clicked");
    Invoke(page, "InPortMacro");
    QCOMPARE(answers.Opened, QStringList({"DeleteConfirm"}));
    QCOMPARE(page.ShownMacro(), QString("M"));
    QCOMPARE(Shown(page), events);
    QCOMPARE(ReadFile("M.ini"), QByteArray("253\n0x04 1 0\n20ms\n0x04 1 1\n35ms\n0x10 4 0\n"));
    QVERIFY(Child<QCheckBox>(page, "ReUntil")->isChecked());
}

void TestMacroPage::importRefusals_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("not an export file") << QByteArray("253\n0x04 1 0\n");
    QTest::newRow("empty") << QByteArray();
}

void TestMacroPage::importRefusals() {
    QFETCH(QByteArray, bytes);
    const QString path = QDir::homePath() + "/strange.ini";
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    Macro page;
    DialogAnswers answers;
    ScopedModalScript script([&](QDialog& d) { return answers.Answer(d); });
    ScopedFileChooserScript chooser([&](FileChooser::Mode, const QString&, const QString&) { return path; });
    Invoke(page, "InPortMacro");
    QCOMPARE(answers.Opened, QStringList({"InportFail"}));
    QCOMPARE(MacroList(page)->count(), 0);
    QCOMPARE(QDir(MacroFolder()).entryList(QDir::Files), QStringList());

    // A cancelled file dialog does nothing at all.
    answers.Opened.clear();
    ScopedFileChooserScript cancel(
        [](FileChooser::Mode, const QString&, const QString&) { return QString(); });
    Invoke(page, "InPortMacro");
    QVERIFY(answers.Opened.isEmpty());
}

void TestMacroPage::exportFromRightClick() {
    WriteFile("A.ini", "1\n0x04 1 0\n");
    WriteFile("B.ini", "254\n0x05 1 0\n10ms\n0x05 1 1\n");
    Macro page;
    Select(page, "A");
    const QString path = QDir::homePath() + "/b.ini";
    ScopedFileChooserScript chooser([&](FileChooser::Mode, const QString&, const QString&) { return path; });
    // Export from B's menu writes B's name with B's events and loop, never A's.
    MacroList(page)->setCurrentItem(ItemNamed(page, "B"));
    Invoke(page, "ExPortMacro");
    MacroFiles::ExportContent content;
    QCOMPARE(MacroFiles::ReadExport(path, content), MacroFiles::ImportError::None);
    QCOMPARE(content.Name, QString("B"));
    QCOMPARE(content.Repeat, 254);
    QCOMPARE(MacroFiles::MacroText("254", content.Entries), QString("254\n0x05 1 0\n10ms\n0x05 1 1\n"));
}

void TestMacroPage::fullDiskTellsTheUser_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QStringList>("opened");
    QTest::newRow("save") << "on_Save_clicked" << false << QStringList{"WriteFail"};
    QTest::newRow("export") << "ExPortMacro" << false << QStringList{"WriteFail"};
    QTest::newRow("import") << "InPortMacro" << false << QStringList{"WriteFail"};
    QTest::newRow("new macro, read-only folder")
        << "on_NewHong_clicked" << true << QStringList{"QuestionDialog", "WriteFail"};
}

// The macro folder (and the export's folder) on a full or read-only disk: the user is told, nothing
// changes.
void TestMacroPage::fullDiskTellsTheUser() {
    QFETCH(QString, action);
    QFETCH(bool, readOnly);
    QFETCH(QStringList, opened);
    const QString importPath = QDir::homePath() + "/to-import.ini";
    QVERIFY(
        MacroFiles::WriteExport(importPath, "N", "5", {MacroFiles::MacroEntry::Event("B", true)}, QString()));
    const QString folder = MacroFolder().mid(QDir::homePath().size() + 1);
    SmallDisk disk(folder, 128);
    SMALL_DISK_OR_SKIP(disk);
    WriteFile("M.ini", "254\n0x04 1 0\n");
    Macro page;
    Select(page, "M");
    Fill(page, {"20ms", "-A"});
    MacroList(page)->setCurrentItem(ItemNamed(page, "M"));
    QVERIFY(readOnly ? disk.SetReadOnly(true) : disk.Fill());

    const QString exportPath = MacroFolder() + "/exported.bin";
    ScopedFileChooserScript chooser([&](FileChooser::Mode mode, const QString&, const QString&) {
        return mode == FileChooser::Mode::Open ? importPath : exportPath;
    });
    DialogAnswers answers;
    answers.Name = "N";
    ScopedModalScript script([&](QDialog& d) { return answers.Answer(d); });
    Invoke(page, qPrintable(action));
    QCOMPARE(answers.Opened, opened);
    QCOMPARE(disk.Files(), QStringList{"M.ini"});
    QCOMPARE(ReadFile("M.ini"), QByteArray("254\n0x04 1 0\n"));
    QVERIFY(!ItemNamed(page, "N"));
    QCOMPARE(page.ShownMacro(), QString("M"));
    if (action == "on_Save_clicked") QVERIFY(Child<QToolButton>(page, "Save")->isEnabled());
}

QTEST_MAIN(TestMacroPage)
#include "tst_macropage.moc"
