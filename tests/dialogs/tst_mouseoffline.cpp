#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "LanguageFixture.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/MouseOffLine.h"

class TstMouseOffLine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        using LanguageFixture::Put;
        Put(MouseCommonTexts, "OK");
        Put(MouseInfoTipsTexts, "DialogOffline");
        Put(MouseInfoTipsTexts, "TimeOut");
        Put(MouseInfoTipsTexts, "DialogNotTaken");
        Put(MouseInfoTipsTexts, "DialogReceiverNotTaken");
    }

    void textByKind_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("key");
        QTest::newRow("offline") << 0 << "DialogOffline";
        QTest::newRow("time-out") << 1 << "TimeOut";
        QTest::newRow("change not taken") << 2 << "DialogNotTaken";
        QTest::newRow("change not taken by the receiver") << 4 << "DialogReceiverNotTaken";
    }
    void textByKind() {
        QFETCH(int, kind);
        QFETCH(QString, key);
        OfflineNoticeKind = kind;
        MouseOffLine d;
        QLabel* label = d.findChild<QLabel*>("label");
        QCOMPARE(label->text(), LanguageFixture::Text(key, 0));
        PostMsg::GetInstance()->EmitSigAllLanguage(1);
        QCOMPARE(label->text(), LanguageFixture::Text(key, 1));
        QCOMPARE(d.findChild<QToolButton*>("NewHong")->text(), LanguageFixture::Text("OK", 1));
        QVERIFY(d.findChild<QToolButton*>("NewHong")->styleSheet().contains("ConFirm.png"));
        PostMsg::GetInstance()->EmitSigAllLanguage(0);
        OfflineNoticeKind = 0;
    }

    // Two stacked notices: one SigCloseOffOnline closes both.
    void backOnlineClosesEveryNotice() {
        int closedInner = -1;
        ScopedModalScript script([&](QDialog& d) { return d.exec(); });
        MouseOffLine outer;
        QTimer::singleShot(0, &outer, [&] {
            MouseOffLine inner;
            QTimer::singleShot(0, &inner, [] { PostMsg::GetInstance()->EmitSigCloseOffOnline(); });
            closedInner = inner.exec();
            QVERIFY(!outer.isVisible());
        });
        QTimer::singleShot(5000, &outer, [&] { outer.done(99); });  // guard against a hang
        QCOMPARE(ModalRunner::Run(outer), int(QDialog::Rejected));
        QCOMPARE(closedInner, int(QDialog::Rejected));
    }

    void escapeClosesLikeTheButtons() {
        MouseOffLine d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
    }
};

QTEST_MAIN(TstMouseOffLine)
#include "tst_mouseoffline.moc"
