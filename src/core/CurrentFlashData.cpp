#include "core/CurrentFlashData.h"

FlashDataMap CurrentFlashData{};

std::mutex& CurrentFlashDataMutex() {
    static std::mutex mutex;
    return mutex;
}
