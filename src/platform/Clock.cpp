#include "platform/Clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <atomic>

namespace {
QElapsedTimer& Monotonic() {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer;
}

SystemClock& DefaultClock() {
    static SystemClock clock;
    return clock;
}

std::atomic<ClockService*> g_clock{nullptr};
}  // namespace

qint64 SystemClock::ElapsedMs() { return Monotonic().elapsed(); }

void SystemClock::Sleep(int ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

void SystemClock::Delay(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        const int left = static_cast<int>(ms - timer.elapsed());
        QCoreApplication::processEvents(QEventLoop::AllEvents, qBound(1, left, 100));
        if (timer.elapsed() < ms) QThread::msleep(static_cast<unsigned long>(qBound(1, left, 5)));
    }
}

qint64 ManualClock::ElapsedMs() { return now_.loadAcquire(); }

void ManualClock::Sleep(int ms) { Advance(ms); }

void ManualClock::Delay(int ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    Advance(ms);
}

void ManualClock::Advance(int ms) {
    if (ms > 0) now_.fetchAndAddOrdered(ms);
}

namespace Clock {
ClockService& Get() {
    ClockService* c = g_clock.load();
    return c ? *c : DefaultClock();
}
void Set(ClockService* clock) { g_clock.store(clock); }
qint64 ElapsedMs() { return Get().ElapsedMs(); }
void Sleep(int ms) { Get().Sleep(ms); }
}  // namespace Clock

void DelayMsec(int ms) { Clock::Get().Delay(ms); }
