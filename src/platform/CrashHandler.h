#pragma once
#include <csignal>

// Result of CrashDumpFilter: the dump is written, let the process end.
inline constexpr int kExceptionExecuteHandler = 1;

// Process-wide crash filter: on a fatal signal (SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS) on any thread it
// writes "yyyy_MM_dd_hh_mm_ss.dmp" (signal, fault address, thread, backtrace) into the "Exception" folder of
// the user data folder and then lets the process die of the same signal.
class CrashHandler {
public:
    CrashHandler() = default;
    // Installs the filter; the handlers installed before are not kept.
    void SetCrashFilter();
};

// Writes the dump for the given signal. Async-signal-safe: it uses only what SetCrashFilter prepared,
// plus mkdir, open, write, close and backtrace_symbols_fd. Returns kExceptionExecuteHandler.
int CrashDumpFilter(int signal, siginfo_t* info, void* context);

namespace CrashDump {
// The dump file name for a local time given as seconds since 1970 already shifted by the UTC offset
// ("yyyy_MM_dd_hh_mm_ss.dmp"); writes at most size bytes including the terminating zero.
void FormatName(long long localSeconds, char* out, int size);
}  // namespace CrashDump
