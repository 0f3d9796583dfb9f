#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include "LanguageFixture.h"
#include "keys/AddDelayTime.h"
#include "keys/FireKey.h"
#include "keys/addKey.h"
#include "platform/KeyCapture.h"

namespace {
QToolButton* Button(QDialog& d, const QString& name) {
    return d.findChild<QToolButton*>(name);
}
QSpinBox* Spin(QDialog& d, const char* name) {
    return d.findChild<QSpinBox*>(name);
}
QLineEdit* Field(QDialog& d) {
    return d.findChild<QLineEdit*>("lineEdit");
}

// Replaces the box's text by typing `text` into it.
void TypeInto(QSpinBox* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

// Closes a shown dialog the given way: a button's object name, "Esc" or "window".
void CloseBy(QDialog& dialog, const QString& how) {
    if (how == "Esc")
        QTest::keyClick(&dialog, Qt::Key_Escape);
    else if (how == "window")
        dialog.close();
    else
        Button(dialog, how)->click();
}

void Press(int vk) {
    KeyCapture::Inject(vk, KeyCapture::KeyDown);
}
void Release(int vk) {
    KeyCapture::Inject(vk, KeyCapture::KeyUp);
}
}  // namespace

class TestKeyDialogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        for (const char* key : {"DialogFireKeyTimes", "DialogFireKeyInterval", "DialogFireKeyTips"})
            LanguageFixture::Put(MouseKeyTexts, key);
        LanguageFixture::Put(MouseHomeTexts, "EnterDelay");
        LanguageFixture::Put(MouseHomeTexts, "EnterKey");
        LanguageFixture::Put(MouseCommonTexts, "OK");
        LanguageFixture::Put(MouseCommonTexts, "Cancel");
    }
    void init() {
        KeyCapture::SetForegroundTest([] { return true; });
    }
    void cleanup() {
        KeyCapture::SetForegroundTest(nullptr);
        QVERIFY(!AddKeyHook::IsInstalled());
    }

    void fireKeyTexts();
    void fireKeyPresets_data();
    void fireKeyPresets();
    void fireKeyTyping_data();
    void fireKeyTyping();
    void fireKeyNotConfirmed_data();
    void fireKeyNotConfirmed();

    void delayTyping_data();
    void delayTyping();
    void delayNotConfirmed_data();
    void delayNotConfirmed();

    void addKeyCapture_data();
    void addKeyCapture();
    void addKeyOkWithoutKey();
    void addKeyNotConfirmed_data();
    void addKeyNotConfirmed();
    void addKeyRealKeys();
};

void TestKeyDialogs::fireKeyTexts() {
    FireKey dialog;
    QCOMPARE(dialog.size(), QSize(406, 170));
    QCOMPARE(dialog.findChild<QLabel*>("label")->text(), LanguageFixture::Text("DialogFireKeyTimes", 0));
    QCOMPARE(dialog.findChild<QLabel*>("label_2")->text(), LanguageFixture::Text("DialogFireKeyInterval", 0));
    QCOMPARE(dialog.findChild<QLabel*>("label_3")->text(), LanguageFixture::Text("DialogFireKeyTips", 0));
    QCOMPARE(Button(dialog, "NewHong_2")->text(), LanguageFixture::Text("Cancel", 0));
    QVERIFY(dialog.findChild<QFrame*>("FireKeyA")->styleSheet().contains("border-image"));
}

void TestKeyDialogs::fireKeyPresets_data() {
    QTest::addColumn<bool>("preset");
    QTest::addColumn<int>("time");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("shots");
    QTest::newRow("no presets") << false << 0 << 0 << 10 << 3;
    QTest::newRow("200 and 0") << true << 200 << 0 << 200 << 0;
    QTest::newRow("clamped") << true << 5 << 7 << 10 << 3;
    QTest::newRow("clamped high") << true << 300 << -1 << 255 << 0;
}

void TestKeyDialogs::fireKeyPresets() {
    QFETCH(bool, preset);
    QFETCH(int, time);
    QFETCH(int, count);
    QFETCH(int, interval);
    QFETCH(int, shots);
    FireKey dialog;
    if (preset) {
        dialog.SetTime(time);
        dialog.SetCount(count);
    }
    dialog.show();
    Button(dialog, "NewHong")->click();
    QVERIFY(dialog.OkFlag);
    QCOMPARE(dialog.Interval, interval);
    QCOMPARE(dialog.Count, shots);
    QVERIFY(!dialog.isVisible());
}

void TestKeyDialogs::fireKeyTyping_data() {
    QTest::addColumn<QByteArray>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("shots");
    QTest::newRow("time 300") << QByteArray("Time") << "300" << 30 << 3;
    QTest::newRow("time 5") << QByteArray("Time") << "5" << 10 << 3;
    QTest::newRow("time 120") << QByteArray("Time") << "120" << 120 << 3;
    QTest::newRow("count 7") << QByteArray("Count") << "7" << 10 << 3;
    QTest::newRow("count 0") << QByteArray("Count") << "0" << 10 << 0;
}

void TestKeyDialogs::fireKeyTyping() {
    QFETCH(QByteArray, box);
    QFETCH(QString, typed);
    QFETCH(int, interval);
    QFETCH(int, shots);
    FireKey dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    TypeInto(Spin(dialog, box.constData()), typed);
    Button(dialog, "NewHong")->click();
    QCOMPARE(dialog.Interval, interval);
    QCOMPARE(dialog.Count, shots);
    QCOMPARE(Spin(dialog, box.constData())->text().toInt(), box == "Time" ? interval : shots);
}

void TestKeyDialogs::fireKeyNotConfirmed_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("cancel") << "NewHong_2";
    QTest::newRow("close button") << "CloseButton";
    QTest::newRow("Esc") << "Esc";
}

void TestKeyDialogs::fireKeyNotConfirmed() {
    QFETCH(QString, how);
    FireKey dialog;
    dialog.SetTime(50);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    CloseBy(dialog, how);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!dialog.OkFlag);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TestKeyDialogs::delayTyping_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("delay");
    QTest::newRow("nothing typed") << "" << 10;
    QTest::newRow("70000") << "70000" << 7000;
    QTest::newRow("65535") << "65535" << 65535;
    QTest::newRow("5") << "5" << 10;
    QTest::newRow("250") << "250" << 250;
}

void TestKeyDialogs::delayTyping() {
    QFETCH(QString, typed);
    QFETCH(int, delay);
    AddDelayTime dialog;
    QCOMPARE(dialog.findChild<QLabel*>("label")->text(), LanguageFixture::Text("EnterDelay", 0));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    if (!typed.isEmpty()) TypeInto(Spin(dialog, "spinBox"), typed);
    Button(dialog, "NewHong")->click();
    QVERIFY(dialog.OkFlag);
    QCOMPARE(dialog.Delay, delay);
}

void TestKeyDialogs::delayNotConfirmed_data() {
    fireKeyNotConfirmed_data();
}

void TestKeyDialogs::delayNotConfirmed() {
    QFETCH(QString, how);
    AddDelayTime dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    TypeInto(Spin(dialog, "spinBox"), "500");
    CloseBy(dialog, how);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!dialog.OkFlag);
    QCOMPARE(dialog.Delay, 0);
}

void TestKeyDialogs::addKeyCapture_data() {
    QTest::addColumn<QVector<int>>("events");  // positive: press, negative: release
    QTest::addColumn<QString>("name");
    QTest::newRow("right shift") << QVector<int>{0xA1, -0xA1} << "RShift";
    QTest::newRow("keypad 5 without num lock") << QVector<int>{0x0C, -0x0C} << "";
    QTest::newRow("media key") << QVector<int>{0x41, -0x41, 0xAF, -0xAF} << "";
    QTest::newRow("last event wins") << QVector<int>{0x41, 0x42, -0x42, -0x41} << "A";
    QTest::newRow("press only") << QVector<int>{0x70} << "F1";
    QTest::newRow("left win") << QVector<int>{0x5B, -0x5B} << "LWin";
}

void TestKeyDialogs::addKeyCapture() {
    QFETCH(QVector<int>, events);
    QFETCH(QString, name);
    addKey dialog;
    QCOMPARE(dialog.findChild<QLabel*>("label")->text(), LanguageFixture::Text("EnterKey", 0));
    QVERIFY(AddKeyHook::IsInstalled());
    for (int e : events) e > 0 ? Press(e) : Release(-e);
    QCOMPARE(dialog.KeyName, name);
    QCOMPARE(Field(dialog)->text(), name);
    dialog.show();
    Button(dialog, "NewHong")->click();
    QVERIFY(dialog.OkFlag);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.KeyName, name);
    QVERIFY(!AddKeyHook::IsInstalled());
}

void TestKeyDialogs::addKeyOkWithoutKey() {
    addKey dialog;
    dialog.show();
    Button(dialog, "NewHong")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.OkFlag);
    QCOMPARE(dialog.KeyName, QString());
}

void TestKeyDialogs::addKeyNotConfirmed_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("cancel") << "NewHong_2";
    QTest::newRow("close button") << "CloseButton";
    QTest::newRow("window system") << "window";
}

void TestKeyDialogs::addKeyNotConfirmed() {
    QFETCH(QString, how);
    addKey dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Press(0x41);
    CloseBy(dialog, how);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!dialog.OkFlag);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!AddKeyHook::IsInstalled());
    // The next key reaches no callback of the closed dialog.
    Press(0x42);
    QCOMPARE(dialog.KeyName, QString("A"));
}

// Keys typed on the keyboard: the release names the key again over what the field inserted;
// Esc is captured and does not close the dialog.
void TestKeyDialogs::addKeyRealKeys() {
    KeyCapture::SetForegroundTest(nullptr);
    addKey dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(Field(dialog), Qt::Key_Q);
    QCOMPARE(Field(dialog)->text(), QString("Q"));
    QCOMPARE(dialog.KeyName, QString("Q"));
    QTest::keyClick(Field(dialog), Qt::Key_Escape);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.KeyName, QString("Esc"));
    QTest::keyClick(Field(dialog), Qt::Key_4, Qt::KeypadModifier);
    QCOMPARE(dialog.KeyName, QString("Num4"));
}

QTEST_MAIN(TestKeyDialogs)
#include "tst_keydialogs.moc"
