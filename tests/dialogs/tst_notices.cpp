#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <memory>

#include "LanguageFixture.h"
#include "core/PostMsg.h"
#include "dialogs/FramedDialog.h"
#include "dialogs/GroupMaxThree.h"
#include "dialogs/InportFail.h"
#include "dialogs/KeyNumberLimit.h"
#include "dialogs/LeftButtonOnly.h"
#include "dialogs/LessThree.h"
#include "dialogs/MakeMacro.h"
#include "dialogs/ProfileFile.h"
#include "dialogs/QuestiondialogB.h"
#include "dialogs/SameMacro.h"
#include "dialogs/UpDateWarning.h"
#include "dialogs/WriteFail.h"
#include "platform/ScreenMetrics.h"
#include "widgets/DialogFrame.h"

using Factory = std::function<QDialog*()>;
Q_DECLARE_METATYPE(Factory)

namespace {
const WriteFail::Action kWriteActions[] = {WriteFail::Action::MacroCreate, WriteFail::Action::MacroSave,
                                           WriteFail::Action::MacroExport, WriteFail::Action::MacroImport,
                                           WriteFail::Action::ProfileExport};
template <class T>
Factory Make() {
    return [] { return new T; };
}
QLabel* Label(QDialog* d) {
    return d->findChild<QLabel*>("label");
}
QToolButton* Button(QDialog* d, const char* name) {
    return d->findChild<QToolButton*>(name);
}
}  // namespace

class TstNotices : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        using LanguageFixture::Put;
        Put(MouseCommonTexts, "OK");
        Put(MouseHomeTexts, "ErrorDevice");
        Put(MouseHomeTexts, "MakeMaro");
        Put(MouseHomeTexts, "MaxThree");
        Put(MouseKeyTexts, "DialogKeepLeftKey");
        Put(MouseKeyTexts, "DialogDebounceTips");
        Put(MouseKeyTexts, "DialogConfigError");
        Put(MouseKeyTexts, "DialogEConfigMismatch");
        Put(MouseMacroTexts, "DialogSameMacroName");
        Put(MouseMacroTexts, "DialogMaxMacroKey");
        for (const WriteFail::Action action : kWriteActions)
            Put(MouseCommonTexts, WriteFail::TextKey(action));
    }
    void cleanup() { ScreenMetrics::SetOverrides(0, 0); }

    void texts_data() {
        QTest::addColumn<Factory>("make");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("QuestiondialogB") << Make<QuestiondialogB>() << "QuestionB"
                                         << "ErrorDevice" << false;
        QTest::newRow("LeftButtonOnly") << Make<LeftButtonOnly>() << "ButtonOnly"
                                        << "DialogKeepLeftKey" << false;
        QTest::newRow("MakeMacro") << Make<MakeMacro>() << "MakeMacroA"
                                   << "MakeMaro" << true;
        QTest::newRow("SameMacro") << Make<SameMacro>() << "SameMacroA"
                                   << "DialogSameMacroName" << true;
        QTest::newRow("GroupMaxThree") << Make<GroupMaxThree>() << "MaxThree"
                                       << "MaxThree" << true;
        QTest::newRow("KeyNumberLimit") << Make<KeyNumberLimit>() << "LimitA"
                                        << "DialogMaxMacroKey" << true;
        QTest::newRow("LessThree") << Make<LessThree>() << "LessThreeframe"
                                   << "DialogDebounceTips" << true;
        for (const WriteFail::Action action : kWriteActions) {
            const Factory make = [action] { return new WriteFail(action); };
            QTest::addRow("WriteFail %s", WriteFail::TextKey(action))
                << make << "WriteFailA" << WriteFail::TextKey(action) << true;
        }
    }
    void texts() {
        QFETCH(Factory, make);
        QFETCH(QString, frame);
        QFETCH(QString, key);
        QFETCH(bool, confirm);
        std::unique_ptr<QDialog> d(make());
        QCOMPARE(d->size(), QSize(300, 140));
        QVERIFY(d->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(d->isWindow());
        QCOMPARE(Label(d.get())->text(), LanguageFixture::Text(key, 0));
        QCOMPARE(Button(d.get(), "NewHong") != nullptr, confirm);
        if (confirm) QCOMPARE(Button(d.get(), "NewHong")->text(), LanguageFixture::Text("OK", 0));
        PostMsg::GetInstance()->EmitSigAllLanguage(1);
        QCOMPARE(Label(d.get())->text(), LanguageFixture::Text(key, 1));
        if (confirm) QCOMPARE(Button(d.get(), "NewHong")->text(), LanguageFixture::Text("OK", 1));
        PostMsg::GetInstance()->EmitSigAllLanguage(0);

        // The frame's pictures exist and are named by the style sheets.
        const QString style = d->findChild<QFrame*>(frame)->styleSheet();
        QVERIFY(style.startsWith("#" + frame + "{"));
        QVERIFY(style.contains(DialogFrame::PicturePath() + "BackGround.png"));
        QVERIFY(Button(d.get(), "CloseButton")->styleSheet().contains("CloseHover.png"));
        for (const char* picture : {"BackGround.png", "Close.png", "CloseHover.png", "CloseClick.png",
                                    "Confirm.png", "ConfirmClick.png", "ConFirm.png", "ConFirmClick.png"})
            QVERIFY2(QFile::exists(DialogFrame::PicturePath() + picture), picture);
    }

    // However long the language makes it, the message keeps a margin to the dialog's left and right edges.
    void messageKeepsClearOfTheEdges_data() { texts_data(); }
    void messageKeepsClearOfTheEdges() {
        QFETCH(Factory, make);
        std::unique_ptr<QDialog> d(make());
        QLabel* label = Label(d.get());
        const QRect text = label->contentsRect().translated(label->mapTo(d.get(), QPoint(0, 0)));
        QVERIFY2(text.left() >= 16 && text.right() < d->width() - 16,
                 qPrintable(QString("text from %1 to %2").arg(text.left()).arg(text.right())));
    }

    void closing_data() {
        QTest::addColumn<Factory>("make");
        QTest::addColumn<QString>("how");
        for (const char* how : {"CloseButton", "NewHong", "Escape"}) {
            QTest::addRow("MakeMacro %s", how) << Make<MakeMacro>() << how;
            QTest::addRow("InportFail %s", how) << Make<InportFail>() << how;
        }
        QTest::newRow("QuestiondialogB Escape") << Make<QuestiondialogB>() << "Escape";
        QTest::newRow("LeftButtonOnly CloseButton") << Make<LeftButtonOnly>() << "CloseButton";
    }
    void closing() {
        QFETCH(Factory, make);
        QFETCH(QString, how);
        std::unique_ptr<QDialog> d(make());
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));
        if (how == "Escape")
            QTest::keyClick(d.get(), Qt::Key_Escape);
        else
            QTest::mouseClick(Button(d.get(), qPrintable(how)), Qt::LeftButton);
        QVERIFY(!d->isVisible());
    }

    void returnDoesNothingWithoutBinding() {
        MakeMacro d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QTest::keyClick(&d, Qt::Key_Return);
        QTest::keyClick(&d, Qt::Key_Enter);
        QTest::qWait(200);
        QVERIFY(d.isVisible());
    }

    void inportFailFollowsResult_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("key");
        QTest::newRow("not a profile") << 1 << "DialogConfigError";
        QTest::newRow("other product") << 2 << "DialogEConfigMismatch";
    }
    void inportFailFollowsResult() {
        QFETCH(int, result);
        QFETCH(QString, key);
        ImportResult = result;
        InportFail d;
        QCOMPARE(Label(&d)->text(), LanguageFixture::Text(key, 0));
        ImportResult = 0;
    }

    void upDateWarningKeepsOpenersText() {
        UpDateWarning d;
        d.SetText("Cable needed");
        PostMsg::GetInstance()->EmitSigAllLanguage(1);
        QCOMPARE(Label(&d)->text(), QString("Cable needed"));
        QCOMPARE(Button(&d, "NewHong")->text(), LanguageFixture::Text("OK", 1));
        PostMsg::GetInstance()->EmitSigAllLanguage(0);
        d.show();
        QApplication::setActiveWindow(&d);
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QTest::keyClick(&d, Qt::Key_Return);
        QTRY_VERIFY(!d.isVisible());  // a shortcut clicks its button after a short animation
    }

    void missingKeyGivesEmptyText() {
        TextTable saved = MouseHomeTexts;
        MouseHomeTexts.clear();
        MakeMacro d;
        QCOMPARE(Label(&d)->text(), QString());
        MouseHomeTexts = saved;
    }

    void fontsFollowLogicalDpi_data() {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<qreal>("labelPoints");
        QTest::newRow("96") << 96 << 11.0;
        QTest::newRow("120") << 120 << 8.8;
        QTest::newRow("144") << 144 << 11.0 * 96 / 144;
    }
    void fontsFollowLogicalDpi() {
        QFETCH(int, dpi);
        QFETCH(qreal, labelPoints);
        ScreenMetrics::SetOverrides(0, dpi);
        MakeMacro d;
        QVERIFY(qAbs(Label(&d)->font().pointSizeF() - labelPoints) < 0.01);
        QVERIFY(qAbs(Button(&d, "NewHong")->font().pointSizeF() - labelPoints) < 0.01);
        LessThree small;
        QVERIFY(qAbs(Label(&small)->font().pointSizeF() - labelPoints * 9 / 11) < 0.01);
    }

    void fontFactorNeverDividesByZero() {
        QCOMPARE(FramedDialog::FontFactor(0), 1.0);
        QCOMPARE(FramedDialog::FontFactor(-5), 1.0);
        QCOMPARE(FramedDialog::FontFactor(120), 0.8);
    }
};

QTEST_MAIN(TstNotices)
#include "tst_notices.moc"
