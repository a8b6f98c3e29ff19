#include "common/pump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <atomic>

namespace {

std::atomic<bool> quitRequested{false};

constexpr int kYieldSleepMs = 5;

// Runs the event loop for up to ms milliseconds. A loop that Qt refuses to
// run (-1: the application is already quitting) means the same as a quit
// request of our own.
void runEventLoopFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    if (loop.exec(QEventLoop::AllEvents) == -1)
        quitRequested = true;
    AppQuit::throwIfRequested();
}

} // namespace

Quitting::Quitting() : Failure(QStringLiteral("プログラムを終了します。")) {}

namespace AppQuit {

void request()
{
    quitRequested = true;
    // exit() rather than quit(): it also ends the nested loops of a wait
    // that is running now, and works before the main loop has started.
    QCoreApplication::exit(0);
}

bool requested()
{
    return quitRequested;
}

void throwIfRequested()
{
    if (quitRequested)
        throw Quitting();
}

void reset()
{
    if (quitRequested && QCoreApplication::instance()) {
        // Qt keeps its own quit state until a main loop runs: run one that
        // ends at once, so the next run's waits wait again.
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }
    quitRequested = false;
}

} // namespace AppQuit

void EventLoopPump::yieldOnce()
{
    AppQuit::throwIfRequested();
    runEventLoopFor(kYieldSleepMs);
}

void EventLoopPump::pauseFor(int ms)
{
    AppQuit::throwIfRequested();
    QElapsedTimer elapsed;
    elapsed.start();
    // One loop for the whole pause, but looked at again when it returns
    // early (a nested loop ended by a handler's own quit).
    for (qint64 left = ms; left > 0; left = ms - elapsed.elapsed())
        runEventLoopFor(static_cast<int>(left));
}

void pauseWithEvents(int ms)
{
    EventLoopPump().pauseFor(ms);
}

namespace PumpWait {

bool untilSignal(const QObject *sender, const char *signal)
{
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, SLOT(quit()));
    return loop.exec() != -1;
}

void forMoreEventsWithoutInput()
{
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::ExcludeUserInputEvents);
}

} // namespace PumpWait
