#pragma once
#include <QByteArray>
#include <QString>
#include <sys/types.h>

// An Xvfb of a test's own. It picks a free display itself (-displayfd), so tests that start at the
// same time never race for one; it does not reset when its last client leaves, so a test may connect
// again at once. The server is stopped when the object goes.
class OwnXvfb {
public:
    // screen as Xvfb takes it: "WIDTHxHEIGHTxDEPTH".
    explicit OwnXvfb(const char* screen);
    ~OwnXvfb();
    OwnXvfb(const OwnXvfb&) = delete;
    OwnXvfb& operator=(const OwnXvfb&) = delete;

    // The path of Xvfb; empty when it is not installed.
    static QString Program();

    // The display number, or -1 when the server did not start.
    int Display() const { return display_; }
    // ":N", for DISPLAY.
    QByteArray DisplayName() const { return ":" + QByteArray::number(display_); }

private:
    pid_t pid_ = -1;
    int display_ = -1;
};
