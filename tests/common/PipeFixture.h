#pragma once
// Named pipes for the tests of readers that must never block on one.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QString>
#include <chrono>
#include <future>

namespace PipeFixture {

// A new named pipe at path; false when it cannot be made.
inline bool Make(const QString& path) {
    return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// Runs read on another thread and gives its result. When it has not returned within 5 s, *returned is
// false and a writer opens and closes the pipe, so that a reader stuck on it ends and the test fails
// instead of hanging.
template <class Read>
auto RunReleasing(const QString& pipe, Read read, bool* returned) {
    auto done = std::async(std::launch::async, read);
    *returned = done.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!*returned) {
        const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
    }
    return done.get();
}

}  // namespace PipeFixture
