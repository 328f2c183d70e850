#pragma once

#include <QApplication>
#include <QElapsedTimer>

// Runs Qt's event loop for a while, so posted events, timers and paints are delivered.
inline void ProcessEventsFor(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Runs the event loop until the condition holds or the time is up; true when it holds. Tests wait for
// timer-driven effects this way so that a loaded machine makes them slower, not wrong.
template <class Condition>
bool ProcessEventsUntil(Condition condition, int timeoutMilliseconds = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() >= timeoutMilliseconds)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
