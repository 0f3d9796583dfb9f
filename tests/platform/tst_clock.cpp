#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include "platform/Clock.h"

class TstClock : public QObject {
    Q_OBJECT
private slots:
    void delayWaitsAndHandlesEvents() {
        bool fired = false;
        QTimer::singleShot(50, [&] { fired = true; });
        QElapsedTimer t;
        t.start();
        DelayMsec(200);
        QVERIFY(t.elapsed() >= 200);
        QVERIFY(t.elapsed() < 1000);
        QVERIFY(fired);
    }
    void manualClockMovesOnlyWhenWaiting() {
        ManualClock manual;
        Clock::Set(&manual);
        const qint64 start = Clock::ElapsedMs();
        QElapsedTimer t;
        t.start();
        DelayMsec(10000);
        Clock::Sleep(500);
        QCOMPARE(Clock::ElapsedMs() - start, qint64(10500));
        QVERIFY(t.elapsed() < 1000);
        Clock::Set(nullptr);
    }
};

QTEST_MAIN(TstClock)
#include "tst_clock.moc"
