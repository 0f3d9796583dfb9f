#include <QLabel>
#include <QToolButton>
#include <QtTest>

#include "LanguageFixture.h"
#include "core/PostMsg.h"
#include "dialogs/ContainReset.h"
#include "dialogs/DeleteConfirm.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/RePair.h"

namespace {
// Shows the dialog, answers it one way and reports Confirmed.
template <class T>
bool Answer(T& d, const QString& how) {
    d.show();
    QApplication::setActiveWindow(&d);
    if (!QTest::qWaitForWindowActive(&d)) return false;
    if (how == "Escape" || how == "Return")
        QTest::keyClick(&d, how == "Escape" ? Qt::Key_Escape : Qt::Key_Return);
    else if (how == "WindowClose")
        d.close();
    else
        QTest::mouseClick(d.template findChild<QToolButton*>(how), Qt::LeftButton);
    QTest::qWait(200);  // a shortcut clicks its button after a short animation
    return d.Confirmed;
}
}  // namespace

class TstConfirmations : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        using LanguageFixture::Put;
        Put(MouseCommonTexts, "OK");
        Put(MouseCommonTexts, "Cancel");
        Put(MouseSettingsTexts, "DialogRestore");
        Put(MouseHomeTexts, "Repair");
        Put(MouseMacroTexts, "DialogDeleteMacro");
    }

    void answers_data() {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<bool>("stillOpen");
        for (const char* dialog : {"ContainReset", "RePair"}) {
            QTest::addRow("%s OK", dialog) << dialog << "OK" << true << false;
            QTest::addRow("%s Cancel", dialog) << dialog << "Cancel" << false << false;
            QTest::addRow("%s CloseButton", dialog) << dialog << "CloseButton" << false << false;
            QTest::addRow("%s Escape", dialog) << dialog << "Escape" << false << false;
            QTest::addRow("%s WindowClose", dialog) << dialog << "WindowClose" << false << false;
        }
        QTest::newRow("ContainReset Return") << "ContainReset"
                                             << "Return" << true << false;
        QTest::newRow("RePair Return") << "RePair"
                                       << "Return" << false << true;
        QTest::newRow("DeleteConfirm NewHong") << "DeleteConfirm"
                                               << "NewHong" << true << false;
        QTest::newRow("DeleteConfirm CloseButton") << "DeleteConfirm"
                                                   << "CloseButton" << false << false;
        QTest::newRow("DeleteConfirm Escape") << "DeleteConfirm"
                                              << "Escape" << false << false;
        QTest::newRow("DeleteConfirm Return") << "DeleteConfirm"
                                              << "Return" << false << true;
    }
    void answers() {
        QFETCH(QString, dialog);
        QFETCH(QString, how);
        QFETCH(bool, confirmed);
        QFETCH(bool, stillOpen);
        bool got = false, open = false;
        if (dialog == "ContainReset") {
            ContainReset d;
            got = Answer(d, how);
            open = d.isVisible();
        } else if (dialog == "RePair") {
            RePair d;
            got = Answer(d, how);
            open = d.isVisible();
        } else {
            DeleteConfirm d;
            got = Answer(d, how);
            open = d.isVisible();
        }
        QCOMPARE(got, confirmed);
        QCOMPARE(open, stillOpen);
    }

    void texts_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("Czech") << 1;
    }
    void texts() {
        QFETCH(int, language);
        using LanguageFixture::Text;
        ContainReset reset;
        RePair pair;
        DeleteConfirm del;
        PostMsg::GetInstance()->EmitSigAllLanguage(language);
        QCOMPARE(reset.findChild<QLabel*>("label")->text(), Text("DialogRestore", language));
        QCOMPARE(reset.findChild<QToolButton*>("OK")->text(), Text("OK", language));
        QCOMPARE(reset.findChild<QToolButton*>("Cancel")->text(), Text("Cancel", language));
        QCOMPARE(pair.findChild<QLabel*>("label")->text(), Text("Repair", language));
        QCOMPARE(del.findChild<QLabel*>("label")->text(), Text("DialogDeleteMacro", language));
        QCOMPARE(del.findChild<QToolButton*>("NewHong")->text(), Text("OK", language));
        PostMsg::GetInstance()->EmitSigAllLanguage(0);
    }

    void containResetSetTextUntilLanguageChange() {
        ContainReset d;
        d.SetText("Update the receiver?");
        QCOMPARE(d.findChild<QLabel*>("label")->text(), QString("Update the receiver?"));
        PostMsg::GetInstance()->EmitSigAllLanguage(0);
        QCOMPARE(d.findChild<QLabel*>("label")->text(), LanguageFixture::Text("DialogRestore", 0));
    }

    void openerReadsTheScriptedAnswer() {
        QWidget page;
        page.resize(800, 600);
        ScopedModalScript script([](QDialog& d) {
            QTest::mouseClick(d.findChild<QToolButton*>("OK"), Qt::LeftButton);
            return d.result();
        });
        RePair d;
        QCOMPARE(ModalRunner::RunOver(d, &page), int(QDialog::Accepted));
        QVERIFY(d.Confirmed);
    }
};

QTEST_MAIN(TstConfirmations)
#include "tst_confirmations.moc"
