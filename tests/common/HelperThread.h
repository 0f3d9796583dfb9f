#pragma once
// Runs a function on a helper thread, as the device thread runs, while the GUI thread keeps handling
// events (blocking hub signals emitted there are served); returns once the function has returned.
#include <QEventLoop>
#include <QThread>
#include <functional>

inline void RunOnHelperThread(const std::function<void()>& fn) {
    QThread* thread = QThread::create(fn);
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    thread->wait();
    delete thread;
}
