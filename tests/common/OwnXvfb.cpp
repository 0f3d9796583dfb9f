#include "OwnXvfb.h"

#include <poll.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QStandardPaths>
#include <string>

namespace {
// Xvfb writes the display number and a line end once it takes connections.
int ReadDisplay(int fd) {
    std::string text;
    pollfd wait{fd, POLLIN, 0};
    while (text.find('\n') == std::string::npos && poll(&wait, 1, 30000) > 0) {
        char c[16];
        const ssize_t n = read(fd, c, sizeof c);
        if (n <= 0) break;
        text.append(c, size_t(n));
    }
    return text.find('\n') == std::string::npos ? -1 : std::stoi(text);
}
}  // namespace

QString OwnXvfb::Program() {
    return QStandardPaths::findExecutable("Xvfb");
}

OwnXvfb::OwnXvfb(const char* screen) {
    const QByteArray path = QFile::encodeName(Program());
    if (path.isEmpty()) return;
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        // The server goes with the test, however the test ends, and keeps no hold on its output.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        execl(path.constData(), "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen, "-nolisten", "tcp",
              "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (pid_ > 0) display_ = ReadDisplay(fds[0]);
    close(fds[0]);
}

OwnXvfb::~OwnXvfb() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
}
