#pragma once
#include <mutex>

#include "hidusb/FlashDataMap.h"

// The image of the current device; all zero at start. Defined in the program (not the library).
// It is written from the GUI thread and from the library's data thread: hold CurrentFlashDataMutex()
// for every read or write that may race, only for the copy itself, never across a signal emission
// or a library call.
extern FlashDataMap CurrentFlashData;
std::mutex& CurrentFlashDataMutex();
