#include "pump.h"

#include <QEventLoop>
#include <QTimer>

void EventLoopPump::yieldOnce()
{
    // A short nested loop: events that arrive are handled at once, and when
    // none do the thread sleeps in the event dispatcher instead of spinning.
    QEventLoop loop;
    QTimer::singleShot(5, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::AllEvents);
}
