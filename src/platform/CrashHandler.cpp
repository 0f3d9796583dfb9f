#include "platform/CrashHandler.h"

#include <execinfo.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/Paths.h"

namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS};

// Everything the signal handler needs is prepared here before any crash can happen.
char g_folder[4096];               // ".../Exception", zero-terminated
std::atomic<long> g_utcOffset{0};  // seconds east of UTC, taken when the filter is installed
alignas(16) char g_altStack[64 * 1024];

// Minimal text builder over a fixed buffer: no allocation, no locale.
struct Line {
    char buf[256];
    int len = 0;
    void Add(const char* text) {
        while (*text && len < int(sizeof(buf)) - 1) buf[len++] = *text++;
    }
    void AddNumber(unsigned long long value, unsigned base = 10, int minDigits = 1) {
        char digits[32];
        int n = 0;
        do {
            const unsigned d = unsigned(value % base);
            digits[n++] = char(d < 10 ? '0' + d : 'a' + d - 10);
            value /= base;
        } while (value && n < int(sizeof(digits)));
        while (n < minDigits && n < int(sizeof(digits))) digits[n++] = '0';
        while (n > 0 && len < int(sizeof(buf)) - 1) buf[len++] = digits[--n];
    }
    void AddSigned(long long value) {
        if (value < 0) {
            Add("-");
            AddNumber(0ULL - static_cast<unsigned long long>(value));
        } else {
            AddNumber(static_cast<unsigned long long>(value));
        }
    }
    void WriteTo(int fd) {
        buf[len++] = '\n';
        const char* p = buf;
        int left = len;
        while (left > 0) {
            const ssize_t w = ::write(fd, p, size_t(left));
            if (w <= 0) break;
            p += w;
            left -= int(w);
        }
        len = 0;
    }
};

const char* SignalName(int sig) {
    switch (sig) {
        case SIGSEGV:
            return "SIGSEGV";
        case SIGABRT:
            return "SIGABRT";
        case SIGFPE:
            return "SIGFPE";
        case SIGILL:
            return "SIGILL";
        case SIGBUS:
            return "SIGBUS";
        default:
            return "signal";
    }
}

void OnFatalSignal(int sig, siginfo_t* info, void* context) {
    const int savedErrno = errno;
    CrashDumpFilter(sig, info, context);
    errno = savedErrno;
    // SA_RESETHAND restored the default action; the signal is blocked while we run, so the re-raised one is
    // delivered when the handler returns and ends the process with the same signal (and a core if enabled).
    struct sigaction dfl;
    std::memset(&dfl, 0, sizeof(dfl));
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(sig, &dfl, nullptr);
    raise(sig);
}

}  // namespace

namespace CrashDump {
void FormatName(long long localSeconds, char* out, int size) {
    // Civil date from days since 1970 (proleptic Gregorian), pure arithmetic.
    long long days = localSeconds / 86400;
    long long secs = localSeconds % 86400;
    if (secs < 0) {
        secs += 86400;
        --days;
    }
    const long long z = days + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long day = doy - (153 * mp + 2) / 5 + 1;
    const long long month = mp < 10 ? mp + 3 : mp - 9;
    const long long year = yoe + era * 400 + (month <= 2 ? 1 : 0);

    Line line;
    line.AddNumber(static_cast<unsigned long long>(year), 10, 4);
    line.Add("_");
    line.AddNumber(static_cast<unsigned long long>(month), 10, 2);
    line.Add("_");
    line.AddNumber(static_cast<unsigned long long>(day), 10, 2);
    line.Add("_");
    line.AddNumber(static_cast<unsigned long long>(secs / 3600), 10, 2);
    line.Add("_");
    line.AddNumber(static_cast<unsigned long long>(secs / 60 % 60), 10, 2);
    line.Add("_");
    line.AddNumber(static_cast<unsigned long long>(secs % 60), 10, 2);
    line.Add(".dmp");
    const int n = line.len < size - 1 ? line.len : size - 1;
    std::memcpy(out, line.buf, size_t(n));
    out[n] = '\0';
}
}  // namespace CrashDump

int CrashDumpFilter(int sig, siginfo_t* info, void* /*context*/) {
    if (g_folder[0] == '\0') return kExceptionExecuteHandler;
    ::mkdir(g_folder, 0755);  // one level, as the folder may have been removed meanwhile

    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    char name[64];
    CrashDump::FormatName(static_cast<long long>(now.tv_sec) + g_utcOffset.load(), name, sizeof(name));

    char path[sizeof(g_folder) + 80];
    const size_t folderLen = std::strlen(g_folder);
    std::memcpy(path, g_folder, folderLen);
    path[folderLen] = '/';
    std::memcpy(path + folderLen + 1, name, std::strlen(name) + 1);

    const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return kExceptionExecuteHandler;

    Line line;
    line.Add("Vorlant ZEMB crash report");
    line.WriteTo(fd);
    line.Add("signal: ");
    line.AddNumber(static_cast<unsigned>(sig));
    line.Add(" (");
    line.Add(SignalName(sig));
    line.Add(")");
    line.WriteTo(fd);
    if (info) {
        line.Add("code: ");
        line.AddSigned(info->si_code);
        line.WriteTo(fd);
        line.Add("address: 0x");
        line.AddNumber(reinterpret_cast<unsigned long long>(info->si_addr), 16);
        line.WriteTo(fd);
    }
    line.Add("process: ");
    line.AddNumber(static_cast<unsigned long long>(getpid()));
    line.WriteTo(fd);
    line.Add("thread: ");
    line.AddNumber(static_cast<unsigned long long>(syscall(SYS_gettid)));
    line.WriteTo(fd);
    line.Add("backtrace:");
    line.WriteTo(fd);
    void* frames[64];
    const int count = backtrace(frames, 64);
    backtrace_symbols_fd(frames, count, fd);
    ::close(fd);
    return kExceptionExecuteHandler;
}

void CrashHandler::SetCrashFilter() {
    const QByteArray folder = QFile::encodeName(Paths::UserDataDir() + "/Exception");
    const size_t n = qMin(size_t(folder.size()), sizeof(g_folder) - 1);
    std::memcpy(g_folder, folder.constData(), n);
    g_folder[n] = '\0';
    g_utcOffset.store(QDateTime::currentDateTime().offsetFromUtc());

    // backtrace() loads its unwinder on first use; do that now, not inside the handler.
    void* warmUp[2];
    backtrace(warmUp, 2);

    // A stack overflow needs its own stack to run the handler on (this thread: the GUI thread).
    stack_t stack{};
    stack.ss_sp = g_altStack;
    stack.ss_size = sizeof(g_altStack);
    sigaltstack(&stack, nullptr);

    struct sigaction action;
    std::memset(&action, 0, sizeof(action));
    action.sa_sigaction = OnFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int sig : kFatalSignals) sigaction(sig, &action, nullptr);
}
