#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

#include "LanguageFixture.h"
#include "core/PostMsg.h"
#include "dialogs/QuestionDialog.h"

namespace {
// Types text key by key; characters beyond ASCII arrive as key events that carry only their text.
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}
}  // namespace

class TstQuestionDialog : public QObject {
    Q_OBJECT
    QLineEdit* Field(QuestionDialog& d) { return d.findChild<QLineEdit*>("lineEdit"); }
    void Open(QuestionDialog& d) {
        d.show();
        QApplication::setActiveWindow(&d);
        QVERIFY(QTest::qWaitForWindowActive(&d));
        Field(d)->setFocus();
    }

private slots:
    void initTestCase() {
        using LanguageFixture::Put;
        Put(MouseCommonTexts, "OK");
        Put(MouseCommonTexts, "Cancel");
        Put(MouseMacroTexts, "DialogNewMacroName");
        Put(MouseMacroTexts, "DialogInputMacroName");
    }

    void typing_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("space at the end removes every space") << "a b"
                                                              << "ab";
        QTest::newRow("space inside stays") << "ab"
                                            << "ab";
        QTest::newRow("punctuation dropped") << "a;'+,.-=[]/*`\\b"
                                             << "ab";
        QTest::newRow("31 characters cut to 30") << QString(31, 'x') << QString(30, 'x');
        QTest::newRow("16 two-byte characters cut to 15")
            << QString(16, QChar(0x00E9)) << QString(15, QChar(0x00E9));
        QTest::newRow("full-width comma dropped") << QString("a") + QChar(0xFF0C) + "b"
                                                  << "ab";
    }
    void typing() {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QuestionDialog d;
        Open(d);
        Type(Field(d), typed);
        QCOMPARE(Field(d)->text(), expected);
    }

    void spaceBetweenCharactersStays() {
        QuestionDialog d;
        Open(d);
        QTest::keyClicks(Field(d), "ab");
        Field(d)->setCursorPosition(1);
        QTest::keyClick(Field(d), Qt::Key_Space);
        QCOMPARE(Field(d)->text(), QString("a b"));
    }

    void pasteSkipsThePunctuationFilterButNotTheRules() {
        QuestionDialog d;
        Open(d);
        QApplication::clipboard()->setText("a;b/c\\d" + QString(40, 'e'));
        QTest::keyClick(Field(d), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Field(d)->text(), "a;bcd" + QString(25, 'e'));
    }

    void shiftDisablesTheField() {
        QuestionDialog d;
        Open(d);
        QTest::keyPress(&d, Qt::Key_Shift);
        QVERIFY(!Field(d)->isEnabled());
        QTest::keyRelease(&d, Qt::Key_Shift);
        QVERIFY(Field(d)->isEnabled());
    }

    void answers_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("result");
        QTest::addColumn<bool>("closed");
        QTest::newRow("OK") << "Macro1"
                            << "NewHong"
                            << "Macro1" << true;
        QTest::newRow("OK empty") << ""
                                  << "NewHong"
                                  << "" << true;
        QTest::newRow("OK dot dot stays open") << ".."
                                               << "NewHong"
                                               << "" << false;
        QTest::newRow("Cancel") << "Macro1"
                                << "NewHong_2"
                                << "" << true;
        QTest::newRow("close button") << "Macro1"
                                      << "CloseButton"
                                      << "" << true;
        QTest::newRow("Escape") << "Macro1"
                                << "Escape"
                                << "" << true;
        QTest::newRow("Return does nothing") << "Macro1"
                                             << "Return"
                                             << "" << false;
    }
    void answers() {
        QFETCH(QString, name);
        QFETCH(QString, how);
        QFETCH(QString, result);
        QFETCH(bool, closed);
        QuestionDialog d;
        Open(d);
        Field(d)->setText(name);
        if (how == "Escape" || how == "Return")
            QTest::keyClick(Field(d), how == "Escape" ? Qt::Key_Escape : Qt::Key_Return);
        else
            QTest::mouseClick(d.findChild<QToolButton*>(how), Qt::LeftButton);
        QCOMPARE(d.MacroName, result);
        QCOMPARE(!d.isVisible(), closed);
    }

    // Opened the way the macro page opens it: the first key typed goes into the name field, also on a
    // second opening after the focus went to a button.
    void theNameFieldHasTheFocusWhenItOpens() {
        QuestionDialog d;
        for (int opening = 0; opening < 2; ++opening) {
            QWidget* focused = nullptr;
            QString typed;
            QTimer::singleShot(0, [&] {
                if (QTest::qWaitForWindowActive(&d)) {
                    QApplication::setActiveWindow(&d);
                    focused = QApplication::focusWidget();
                    if (focused) {
                        QTest::keyClick(focused, Qt::Key_Space);
                        QTest::keyClicks(focused, "m1");
                    }
                    typed = Field(d)->text();
                }
                d.findChild<QToolButton*>("CloseButton")->setFocus();
                if (d.isVisible()) d.findChild<QToolButton*>("NewHong")->click();
            });
            const int result = d.exec();
            QCOMPARE(focused, static_cast<QWidget*>(Field(d)));
            QCOMPARE(typed, QString("m1"));
            QCOMPARE(result, int(QDialog::Accepted));
            QCOMPARE(d.MacroName, QString("m1"));
            Field(d)->clear();
        }
    }

    void titleAndLanguage() {
        QuestionDialog d;
        QLabel* prompt = d.findChild<QLabel*>("label");
        d.SetTitle(true);
        QCOMPARE(prompt->text(), LanguageFixture::Text("DialogInputMacroName", 0));
        PostMsg::GetInstance()->EmitSigAllLanguage(1);
        QCOMPARE(prompt->text(),
                 LanguageFixture::Text("DialogInputMacroName", 0));  // the prompt on show stays
        QCOMPARE(d.findChild<QToolButton*>("NewHong_2")->text(), LanguageFixture::Text("Cancel", 1));
        d.SetTitle(false);
        QCOMPARE(prompt->text(), LanguageFixture::Text("DialogNewMacroName", 1));
        PostMsg::GetInstance()->EmitSigAllLanguage(0);
    }
};

QTEST_MAIN(TstQuestionDialog)
#include "tst_questiondialog.moc"
