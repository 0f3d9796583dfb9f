#include <QSignalSpy>
#include <QtTest>

#include "MacroPageFixture.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "platform/Clock.h"
#include "platform/KeyCapture.h"

using namespace MacroPageFixture;

namespace {
ManualClock& TestClock() {
    static ManualClock clock;
    return clock;
}

// Virtual keys.
constexpr int VkA = 0x41;
constexpr int VkB = 0x42;
constexpr int VkLeftShift = 0xA0;
constexpr int VkVolumeUp = 0xAF;  // no name

// One step of a typing script: a key goes down or up after `wait` ms.
struct Step {
    int Wait;
    int Key;
    bool Down;
};

void Type(const QVector<Step>& steps) {
    for (const Step& step : steps) {
        TestClock().Advance(step.Wait);
        KeyCapture::Inject(step.Key, step.Down ? KeyCapture::KeyDown : KeyCapture::KeyUp);
    }
}
}  // namespace

Q_DECLARE_METATYPE(QVector<Step>)

class TestMacroRecord : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        PutTexts();
        Clock::Set(&TestClock());
    }
    void init() {
        FreshMacroFolder();
        WriteFile("M.ini", "1\n0x05 1 0\n");
        MacroRecording = false;
        KeyCapture::SetForegroundTest([] { return true; });
    }
    void cleanup() {
        KeyCapture::SetForegroundTest(nullptr);
        QVERIFY(!MacroKeyHook::IsInstalled());
        QVERIFY(!MacroRecording);
    }

    void record_data();
    void record();
    void startAndStop();
    void eventLimit();
    void leavingEndsRecording();
    void otherProgramAddsNothing();
};

void TestMacroRecord::record_data() {
    QTest::addColumn<bool>("fixed");
    QTest::addColumn<QVector<Step>>("steps");
    QTest::addColumn<QStringList>("events");

    QTest::newRow("measured delays")
        << false << QVector<Step>{{0, VkA, true}, {80, VkA, false}, {200, VkB, true}, {90, VkB, false}}
        << QStringList{"+A", "80ms", "-A", "200ms", "+B", "90ms", "-B"};
    QTest::newRow("fixed delays")
        << true << QVector<Step>{{0, VkA, true}, {80, VkA, false}, {200, VkB, true}, {90, VkB, false}}
        << QStringList{"+A", "50ms", "-A", "50ms", "+B", "50ms", "-B"};
    QTest::newRow("held key repeats are dropped")
        << false << QVector<Step>{{0, VkA, true}, {500, VkA, true}, {30, VkA, true}, {470, VkA, false}}
        << QStringList{"+A", "1000ms", "-A"};
    QTest::newRow("release of the last key leaves it, its next press is dropped")
        << false
        << QVector<Step>{{0, VkA, true}, {10, VkB, true}, {10, VkA, false}, {10, VkB, false}, {10, VkB, true}}
        << QStringList{"+A", "10ms", "+B", "10ms", "-A", "10ms", "-B"};
    QTest::newRow("modifier keys have names")
        << false << QVector<Step>{{0, VkLeftShift, true}, {15, VkLeftShift, false}}
        << QStringList{"+LShift", "15ms", "-LShift"};
    QTest::newRow("a key without a name leaves no delay behind")
        << false
        << QVector<Step>{{0, VkA, true}, {40, VkVolumeUp, true}, {20, VkVolumeUp, false}, {30, VkA, false}}
        << QStringList{"+A", "90ms", "-A"};
    QTest::newRow("unnamed key first")
        << false << QVector<Step>{{0, VkVolumeUp, true}, {40, VkA, true}} << QStringList{"+A"};
}

void TestMacroRecord::record() {
    QFETCH(bool, fixed);
    QFETCH(QVector<Step>, steps);
    QFETCH(QStringList, events);
    Macro page;
    Select(page, "M");
    Child<QCheckBox>(page, fixed ? "DefaultDelay" : "AutoInsertDelay")->setChecked(true);
    Child<QSpinBox>(page, "DelayTime")->setValue(50);
    Invoke(page, "on_StartRecord_clicked");
    QVERIFY(MacroRecording);
    Type(steps);
    Invoke(page, "on_StopRecord_clicked");
    QCOMPARE(Shown(page), events);
}

void TestMacroRecord::startAndStop() {
    Macro page;
    page.show();
    Select(page, "M");
    QSignalSpy spy(PostMsg::GetInstance(), &PostMsg::SigStartRecord);
    Invoke(page, "on_StartRecord_clicked");
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 0);
    // The list empties at once; options, chooser and macro list are locked.
    QCOMPARE(EventList(page)->count(), 0);
    QVERIFY(page.EventsChanged);
    for (const char* name :
         {"AutoInsertDelay", "DefaultDelay", "ReUntil", "ReNumber", "ReUntilLoose", "ReUntilClick"})
        QVERIFY(!Child<QCheckBox>(page, name)->isEnabled());
    QVERIFY(!MacroList(page)->isEnabled());
    QVERIFY(!Child<QWidget>(page, "ChooseEvent")->isEnabled());
    QVERIFY(Child<QWidget>(page, "StopRecord")->isVisible());
    QVERIFY(!Child<QWidget>(page, "StartRecord")->isVisible());

    // While recording, the buttons answer with the stop-recording hint.
    DialogAnswers answers;
    ScopedModalScript script([&](QDialog& d) { return answers.Answer(d); });
    for (const char* slot : {"on_NewHong_clicked", "on_DeleteHong_clicked", "on_Amend_clicked",
                             "on_DeleteKey_clicked", "on_Save_clicked"})
        Invoke(page, slot);
    QCOMPARE(answers.Opened, QStringList({"ExeIsRun", "ExeIsRun", "ExeIsRun", "ExeIsRun", "ExeIsRun"}));
    QVERIFY(QFile::exists(MacroFolder() + "/M.ini"));

    Invoke(page, "on_StopRecord_clicked");
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).toInt(), 1);
    QCOMPARE(EventList(page)->count(), 0);
    QVERIFY(Child<QToolButton>(page, "Save")->isEnabled());
    QVERIFY(MacroList(page)->isEnabled());
    QVERIFY(Child<QWidget>(page, "StartRecord")->isVisible());
    QSignalSpy saved(PostMsg::GetInstance(), &PostMsg::SigUpDataMacro);
    Invoke(page, "on_Save_clicked");
    QCOMPARE(saved.count(), 1);
    QCOMPARE(ReadFile("M.ini"), QByteArray("1\n"));
}

void TestMacroRecord::eventLimit() {
    Macro page;
    Select(page, "M");
    DialogAnswers answers;
    ScopedModalScript script([&](QDialog& d) { return answers.Answer(d); });
    Invoke(page, "on_StartRecord_clicked");
    for (int tap = 0; tap < 36; ++tap) Type({{5, VkA, true}, {5, VkA, false}});
    QCOMPARE(answers.Opened, QStringList({"KeyNumberLimit"}));
    QCOMPARE(EventList(page)->count(), 2 * 70 - 1);
    QVERIFY(!MacroRecording);
    QVERIFY(!MacroKeyHook::IsInstalled());
    // Capture has stopped, but the page keeps its recording look until Stop.
    QVERIFY(!MacroList(page)->isEnabled());
    Invoke(page, "on_StopRecord_clicked");
    QVERIFY(MacroList(page)->isEnabled());
    Invoke(page, "on_Save_clicked");
    const MacroRecord record = MacroFiles::EntriesToRecord("M", page.Entries());
    QCOMPARE(int(record.EventCount), 70);
    QCOMPARE(int(record.Events[69].State), 1);
}

void TestMacroRecord::leavingEndsRecording() {
    Macro page;
    Select(page, "M");
    Invoke(page, "on_StartRecord_clicked");
    Type({{0, VkA, true}, {10, VkA, false}});
    QSignalSpy spy(PostMsg::GetInstance(), &PostMsg::SigStartRecord);
    PostMsg::GetInstance()->EmitSigSetMacroPage();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 1);
    QVERIFY(!MacroRecording);
    QCOMPARE(Shown(page), QStringList({"+A", "10ms", "-A"}));
    QVERIFY(MacroList(page)->isEnabled());
    QCOMPARE(ReadFile("M.ini"), QByteArray("1\n0x05 1 0\n"));
    // Unsaved, as after Stop: Save takes the events.
    QVERIFY(Child<QToolButton>(page, "Save")->isEnabled());
    Invoke(page, "on_Save_clicked");
    Select(page, "M");
    QCOMPARE(Shown(page), QStringList({"+A", "10ms", "-A"}));
}

void TestMacroRecord::otherProgramAddsNothing() {
    Macro page;
    Select(page, "M");
    Invoke(page, "on_StartRecord_clicked");
    KeyCapture::SetForegroundTest([] { return false; });
    Type({{0, VkA, true}, {10, VkA, false}});
    KeyCapture::SetForegroundTest([] { return true; });
    Invoke(page, "on_StopRecord_clicked");
    QCOMPARE(EventList(page)->count(), 0);
}

QTEST_MAIN(TestMacroRecord)
#include "tst_macrorecord.moc"
