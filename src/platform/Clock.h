#pragma once
#include <QtGlobal>

// Every wait of the program goes through one clock service, so tests can replace it and a
// ten-second time-out does not take ten seconds.
class ClockService {
public:
    virtual ~ClockService() = default;
    // Monotonic milliseconds since an arbitrary start.
    virtual qint64 ElapsedMs() = 0;
    // Blocks the calling thread without processing events.
    virtual void Sleep(int ms) = 0;
    // Processes events of the calling thread in slices of at most 100 ms until ms have passed.
    virtual void Delay(int ms) = 0;
};

// The real clock: a monotonic timer (a wait never ends early across midnight).
class SystemClock : public ClockService {
public:
    qint64 ElapsedMs() override;
    void Sleep(int ms) override;
    void Delay(int ms) override;
};

// A test clock: time only moves when someone waits; Delay still processes pending events once.
class ManualClock : public ClockService {
public:
    qint64 ElapsedMs() override;
    void Sleep(int ms) override;
    void Delay(int ms) override;
    void Advance(int ms);

private:
    QAtomicInteger<qint64> now_{0};
};

namespace Clock {
ClockService& Get();
// Installs another clock (tests); nullptr restores the system clock. The caller keeps ownership.
void Set(ClockService* clock);
qint64 ElapsedMs();
void Sleep(int ms);
}  // namespace Clock

// Waits ms milliseconds while processing events.
void DelayMsec(int ms);
