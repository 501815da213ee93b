#pragma once

#include <QApplication>
#include <QElapsedTimer>

#include <functional>

namespace tramble::test {

// Runs the event loop until done() holds or ms milliseconds have passed;
// whether it holds.
inline bool WaitFor(const std::function<bool()>& done, int ms = 2000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace tramble::test
