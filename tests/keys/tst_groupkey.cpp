#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

#include "LanguageFixture.h"
#include "dialogs/GroupMaxThree.h"
#include "dialogs/ModalRunner.h"
#include "keys/GroupKey.h"
#include "platform/Clock.h"
#include "platform/KeyCapture.h"

namespace {
constexpr int VK_A = 0x41, VK_B = 0x42, VK_C = 0x43, VK_D = 0x44, VK_F = 0x46, VK_F1 = 0x70, VK_F4 = 0x73;
constexpr int VK_LSHIFT = 0xA0, VK_LCTRL = 0xA2, VK_NUMPLUS = 0x6B, VK_NUM1 = 0x61;
constexpr int Wait = -1;  // in a key list: the next number is a pause in milliseconds

QLineEdit* Field(GroupKey& d) {
    return d.findChild<QLineEdit*>("lineEdit");
}
QCheckBox* Box(GroupKey& d, const QString& name) {
    return d.findChild<QCheckBox*>(name);
}
QToolButton* Button(QDialog& d, const char* name) {
    return d.findChild<QToolButton*>(name);
}

// Presses and releases each key; Wait, n lets the clock run n ms.
void Type(ManualClock& clock, const QVector<int>& keys) {
    for (int i = 0; i < keys.size(); ++i) {
        if (keys[i] == Wait) {
            clock.Advance(keys[++i]);
            continue;
        }
        KeyCapture::Inject(keys[i], KeyCapture::KeyDown);
        KeyCapture::Inject(keys[i], KeyCapture::KeyUp);
    }
}
}  // namespace

class TestGroupKey : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        LanguageFixture::Put(MouseHomeTexts, "ComKey");
        LanguageFixture::Put(MouseHomeTexts, "MaxThree");
        LanguageFixture::Put(MouseCommonTexts, "OK");
        LanguageFixture::Put(MouseCommonTexts, "Cancel");
    }
    void init() {
        Clock::Set(&clock_);
        KeyCapture::SetForegroundTest([] { return true; });
    }
    void cleanup() {
        Clock::Set(nullptr);
        KeyCapture::SetForegroundTest(nullptr);
        QVERIFY(!GroupKeyHook::IsInstalled());
    }

    void texts();
    void capture_data();
    void capture();
    void tooManyItemsKeepsDialogOpen();
    void systemKeysAndReleasesAddNothing();
    void emptyConfirm();
    void cancelAndClose_data();
    void cancelAndClose();
    void escapeIsCapturedNotClosing();
    void pastedTextIsUpperCase();

private:
    ManualClock clock_;
};

void TestGroupKey::texts() {
    GroupKey dialog;
    QCOMPARE(dialog.findChild<QLabel*>("label")->text(), LanguageFixture::Text("ComKey", 0));
    QCOMPARE(Button(dialog, "NewHong")->text(), LanguageFixture::Text("OK", 0));
    QCOMPARE(Button(dialog, "NewHong_2")->text(), LanguageFixture::Text("Cancel", 0));
    QCOMPARE(Box(dialog, "Shift")->text(), QString("shift"));
    QCOMPARE(dialog.size(), QSize(300, 140));
    QVERIFY(GroupKeyHook::IsInstalled());
}

void TestGroupKey::capture_data() {
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QVector<int>>("keys");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("result");  // after OK
    QTest::newRow("ctrl A B") << QStringList{"Ctrl"} << QVector<int>{VK_A, VK_B} << "A+B"
                              << "Ctrl+A+B";
    QTest::newRow("fourth key starts anew") << QStringList{} << QVector<int>{VK_A, VK_B, VK_C, VK_D} << "D"
                                            << "D";
    QTest::newRow("three keys") << QStringList{} << QVector<int>{VK_A, VK_B, VK_C} << "A+B+C"
                                << "A+B+C";
    QTest::newRow("third key again starts anew")
        << QStringList{} << QVector<int>{VK_A, VK_B, VK_C, VK_C} << "C"
        << "C";
    QTest::newRow("pause over 2000 ms") << QStringList{} << QVector<int>{VK_A, Wait, 2001, VK_B} << "B"
                                        << "B";
    QTest::newRow("pause of 2000 ms") << QStringList{} << QVector<int>{VK_A, Wait, 2000, VK_B} << "A+B"
                                      << "A+B";
    QTest::newRow("window from first key")
        << QStringList{} << QVector<int>{VK_A, Wait, 1500, VK_B, Wait, 600, VK_C} << "C"
        << "C";
    QTest::newRow("same key twice") << QStringList{} << QVector<int>{VK_A, VK_A} << "A"
                                    << "A";
    QTest::newRow("F after F1") << QStringList{} << QVector<int>{VK_F1, VK_F} << "F1"
                                << "F1";
    QTest::newRow("1 after Num1") << QStringList{} << QVector<int>{VK_NUM1, 0x31} << "Num1"
                                  << "Num1";
    QTest::newRow("alt F4") << QStringList{"Alt"} << QVector<int>{VK_F4} << "F4"
                            << "Alt+F4";
    QTest::newRow("modifiers have no name")
        << QStringList{"Win"} << QVector<int>{VK_LSHIFT, VK_A, VK_LCTRL} << "A"
        << "Win+A";
    QTest::newRow("modifier empties three keys")
        << QStringList{} << QVector<int>{VK_A, VK_B, VK_C, VK_LSHIFT} << ""
        << "";
    QTest::newRow("box order") << QStringList{"Win", "Shift"} << QVector<int>{VK_A} << "A"
                               << "Shift+Win+A";
    QTest::newRow("keypad plus is one key")
        << QStringList{} << QVector<int>{VK_NUMPLUS, VK_A, VK_B} << "Num++A+B"
        << "Num++A+B";
}

void TestGroupKey::capture() {
    QFETCH(QStringList, boxes);
    QFETCH(QVector<int>, keys);
    QFETCH(QString, field);
    QFETCH(QString, result);
    GroupKey dialog;
    for (const QString& box : boxes) Box(dialog, box)->setChecked(true);
    Type(clock_, keys);
    QCOMPARE(Field(dialog)->text(), field);
    int notices = 0;
    ScopedModalScript script([&notices](QDialog&) {
        ++notices;
        return int(QDialog::Rejected);
    });
    Button(dialog, "NewHong")->click();
    QCOMPARE(notices, 0);
    QVERIFY(dialog.OkFlag);
    QCOMPARE(dialog.ResultText, result);
    QVERIFY(!GroupKeyHook::IsInstalled());
}

void TestGroupKey::tooManyItemsKeepsDialogOpen() {
    GroupKey dialog;
    dialog.move(120, 80);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Box(dialog, "Shift")->setChecked(true);
    Box(dialog, "Ctrl")->setChecked(true);
    Type(clock_, {VK_A, VK_B});
    QPoint noticeAt;
    int notices = 0;
    bool isMaxThree = false;
    {
        ScopedModalScript script([&](QDialog& notice) {
            ++notices;
            isMaxThree = qobject_cast<GroupMaxThree*>(&notice) != nullptr;
            noticeAt = notice.pos();
            return int(QDialog::Rejected);
        });
        Button(dialog, "NewHong")->click();
    }
    QCOMPARE(notices, 1);
    QVERIFY(isMaxThree);
    QCOMPARE(noticeAt, dialog.mapToGlobal(QPoint(0, 0)));
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.OkFlag);
    QCOMPARE(Field(dialog)->text(), QString());
    QVERIFY(Box(dialog, "Shift")->isChecked());
    QVERIFY(GroupKeyHook::IsInstalled());
    // The key state starts over: the same key is taken again.
    Type(clock_, {VK_B});
    QCOMPARE(Field(dialog)->text(), QString("B"));
    Button(dialog, "NewHong")->click();
    QCOMPARE(dialog.ResultText, QString("Shift+Ctrl+B"));
}

void TestGroupKey::systemKeysAndReleasesAddNothing() {
    GroupKey dialog;
    KeyCapture::Inject(0xA4, KeyCapture::SysKeyDown);
    KeyCapture::Inject(0x58, KeyCapture::SysKeyDown);
    KeyCapture::Inject(0x58, KeyCapture::SysKeyUp);
    KeyCapture::Inject(0xA4, KeyCapture::KeyUp);
    KeyCapture::Inject(0x79, KeyCapture::SysKeyDown);  // F10
    KeyCapture::Inject(0x79, KeyCapture::SysKeyUp);
    QCOMPARE(Field(dialog)->text(), QString());
    dialog.UpdateCapslockTip(VK_A, false, false);
    QCOMPARE(Field(dialog)->text(), QString());
}

void TestGroupKey::emptyConfirm() {
    GroupKey dialog;
    dialog.show();
    Button(dialog, "NewHong")->click();
    QVERIFY(dialog.OkFlag);
    QCOMPARE(dialog.ResultText, QString());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TestGroupKey::cancelAndClose_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("cancel") << "NewHong_2";
    QTest::newRow("close button") << "CloseButton";
    QTest::newRow("window system") << "";
}

void TestGroupKey::cancelAndClose() {
    QFETCH(QString, how);
    GroupKey dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Type(clock_, {VK_A});
    if (how.isEmpty())
        dialog.close();
    else
        Button(dialog, qPrintable(how))->click();
    QVERIFY(!dialog.isVisible());
    QVERIFY(!dialog.OkFlag);
    QVERIFY(!GroupKeyHook::IsInstalled());
    // No key reaches the closed dialog.
    Type(clock_, {VK_B});
    QCOMPARE(Field(dialog)->text(), QString("A"));
}

// A real Esc typed into the field: captured by the hook, ignored by the field, the dialog stays.
void TestGroupKey::escapeIsCapturedNotClosing() {
    KeyCapture::SetForegroundTest(nullptr);
    GroupKey dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(Field(dialog), Qt::Key_Escape);
    QVERIFY(dialog.isVisible());
    QCOMPARE(Field(dialog)->text(), QString("Esc"));
    QTest::keyClick(Field(dialog), Qt::Key_Q);
    QCOMPARE(Field(dialog)->text(), QString("Esc+Q"));
    QTest::keyClick(&dialog, Qt::Key_F12);
    QVERIFY(dialog.isVisible());
}

void TestGroupKey::pastedTextIsUpperCase() {
    GroupKey dialog;
    QMetaObject::invokeMethod(Field(dialog), "textEdited", Q_ARG(QString, "a+b"));
    QCOMPARE(Field(dialog)->text(), QString("A+B"));
}

QTEST_MAIN(TestGroupKey)
#include "tst_groupkey.moc"
