#include "firmware/FlashStage.h"

#include <QMutex>
#include <QMutexLocker>
#include <array>
#include <utility>

#include "platform/Clock.h"

namespace {
constexpr int kSlots = 16;

struct Slot {
    int Stage = 0;
    bool Open = false;
    qint64 LastStatusMs = 0;
    FirmwareImage Image;
    FlashStatusHandler Handler;
};

struct Stages {
    QMutex Lock;
    std::array<Slot, kSlots> Slots;
    int LastStage = 0;  // stage n uses slot n % kSlots
};

Stages& All() {
    static Stages stages;
    return stages;
}

// A status for the stage in `slot` (`stage` 0: whichever stage has it).
void Dispatch(int slot, int stage, const unsigned char* status) {
    if (!status || status[0] != 7 || (status[1] != 1 && status[1] != 2)) return;
    FlashStatusHandler handler;
    {
        Stages& all = All();
        QMutexLocker lock(&all.Lock);
        Slot& s = all.Slots[size_t(slot)];
        if (!s.Open || (stage != 0 && s.Stage != stage)) return;
        handler = s.Handler;
        s.LastStatusMs = Clock::ElapsedMs();
        // The final status claims the stage. The image stays in its slot until the slot is reused.
        if (status[1] == 2) {
            s.Open = false;
            s.Handler = nullptr;
        }
    }
    handler(status[1], status[2]);
}

template <size_t... N>
constexpr std::array<UpgradeStatusCallback, sizeof...(N)> MakeCallbacks(std::index_sequence<N...>) {
    return {{[](const unsigned char* status) { Dispatch(int(N), 0, status); }...}};
}
const std::array<UpgradeStatusCallback, kSlots> kCallbacks =
    MakeCallbacks(std::make_index_sequence<kSlots>());

Slot* SlotOf(Stages& all, int stage) {
    if (stage <= 0 || stage > all.LastStage || all.LastStage - stage >= kSlots) return nullptr;
    Slot& s = all.Slots[size_t(stage % kSlots)];
    return s.Stage == stage ? &s : nullptr;
}
}  // namespace

int StartFlashStage(const FirmwareImage& image, FlashStatusHandler handler) {
    if (!image || !handler) return 0;
    Stages& all = All();
    int stage = 0;
    {
        QMutexLocker lock(&all.Lock);
        stage = ++all.LastStage;
        Slot& s = all.Slots[size_t(stage % kSlots)];
        // A stage left open from sixteen stages ago gets no more statuses.
        s = Slot{stage, true, Clock::ElapsedMs(), image, std::move(handler)};
    }
    // Open before the start: a final status may come before UsbUpgrade_Start returns.
    if (UsbUpgrade_Start(reinterpret_cast<const unsigned char*>(image->constData()),
                         kCallbacks[size_t(stage % kSlots)], 10000))
        return stage;
    QMutexLocker lock(&all.Lock);
    if (Slot* s = SlotOf(all, stage)) *s = Slot{stage, false, 0, nullptr, nullptr};
    return 0;
}

bool CloseFlashStage(int stage) {
    Stages& all = All();
    QMutexLocker lock(&all.Lock);
    Slot* s = SlotOf(all, stage);
    if (!s || !s->Open) return false;
    s->Open = false;
    s->Handler = nullptr;
    return true;
}

bool FlashStageOpen(int stage) {
    Stages& all = All();
    QMutexLocker lock(&all.Lock);
    const Slot* s = SlotOf(all, stage);
    return s && s->Open;
}

bool FlashStageStalled(int stage) {
    Stages& all = All();
    QMutexLocker lock(&all.Lock);
    const Slot* s = SlotOf(all, stage);
    return s && s->Open && Clock::ElapsedMs() - s->LastStatusMs >= kFlashStageStallMs;
}

void DeliverFlashStatus(int stage, const unsigned char* status) {
    if (stage > 0) Dispatch(stage % kSlots, stage, status);
}

UpgradeStatusCallback FlashStageCallback(int stage) {
    Stages& all = All();
    QMutexLocker lock(&all.Lock);
    return SlotOf(all, stage) ? kCallbacks[size_t(stage % kSlots)] : nullptr;
}
