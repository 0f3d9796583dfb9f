#include <QDialog>
#include <QtTest>

#include "dialogs/ModalRunner.h"

class TstModalRunner : public QObject {
    Q_OBJECT
private slots:
    void centredPosition_data() {
        QTest::addColumn<QPoint>("ref");
        QTest::addColumn<QSize>("refSize");
        QTest::addColumn<QSize>("dialog");
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("centred") << QPoint(100, 50) << QSize(1020, 700) << QSize(300, 140) << 0 << 0
                                 << QPoint(460, 330);
        QTest::newRow("offsets") << QPoint(100, 50) << QSize(1020, 700) << QSize(300, 140) << -75 << -65
                                 << QPoint(385, 265);
        QTest::newRow("odd halves cut")
            << QPoint(0, 0) << QSize(301, 141) << QSize(300, 140) << 0 << 0 << QPoint(0, 0);
        // A dialog wider than its reference: the negative half is cut toward zero.
        QTest::newRow("negative half")
            << QPoint(10, 10) << QSize(100, 100) << QSize(301, 141) << 0 << 0 << QPoint(-90, -10);
    }
    void centredPosition() {
        QFETCH(QPoint, ref);
        QFETCH(QSize, refSize);
        QFETCH(QSize, dialog);
        QFETCH(int, dx);
        QFETCH(int, dy);
        QFETCH(QPoint, expected);
        QCOMPARE(ModalRunner::CentredPosition(ref, refSize, dialog, dx, dy), expected);
    }

    void runOverPlacesAndUsesTheScript() {
        QWidget reference;
        reference.setGeometry(100, 50, 1020, 700);
        reference.show();
        QDialog dialog;
        dialog.resize(300, 140);
        QPoint seen;
        ScopedModalScript script([&](QDialog& d) {
            seen = d.pos();
            return 7;
        });
        QCOMPARE(ModalRunner::RunOver(dialog, &reference, -20, 0), 7);
        const QPoint ref = reference.mapToGlobal(QPoint(0, 0));
        QCOMPARE(seen, QPoint(ref.x() + 360 - 20, ref.y() + 280));
    }

    void withoutScriptRunsExec() {
        QVERIFY(!ModalRunner::HasScript());
        QDialog dialog;
        QTimer::singleShot(0, &dialog, [&] { dialog.done(3); });
        QCOMPARE(ModalRunner::Run(dialog), 3);
    }
};

QTEST_MAIN(TstModalRunner)
#include "tst_modalrunner.moc"
