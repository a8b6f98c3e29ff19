// The one POSIX-only file of the browser backend: process groups and the
// handlers that end them when the program ends abnormally.
#include "site/orphanguard.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

namespace {

// A fixed table of plain atomics: the signal handler may only read memory,
// never lock or allocate. A program has one browser, rarely two at a time.
constexpr int watchedSlots = 16;
std::atomic<pid_t> g_watched[watchedSlots];

const int handledSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
struct sigaction g_previous[sizeof handledSignals / sizeof handledSignals[0]];
std::terminate_handler g_previousTerminate = nullptr;

void killWatchedGroups()
{
    for (auto &slot : g_watched) {
        const pid_t group = slot.load();
        if (group > 0)
            ::killpg(group, SIGKILL);
    }
}

void onSignal(int signal)
{
    killWatchedGroups();
    // Then end the way the signal would have ended the program without us.
    for (std::size_t i = 0; i < std::size(handledSignals); ++i) {
        if (handledSignals[i] == signal) {
            ::sigaction(signal, &g_previous[i], nullptr);
            break;
        }
    }
    ::raise(signal);
}

void onTerminate()
{
    killWatchedGroups();
    if (g_previousTerminate)
        g_previousTerminate();
    std::abort();
}

void installHandlersOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (std::size_t i = 0; i < std::size(handledSignals); ++i) {
            struct sigaction action = {};
            action.sa_handler = onSignal;
            sigemptyset(&action.sa_mask);
            ::sigaction(handledSignals[i], nullptr, &g_previous[i]);
            // A signal the program (or its starter) chose to ignore stays ignored.
            if (g_previous[i].sa_handler == SIG_IGN)
                continue;
            ::sigaction(handledSignals[i], &action, &g_previous[i]);
        }
        g_previousTerminate = std::set_terminate(onTerminate);
        std::atexit(killWatchedGroups);
    });
}

// True while a process of the group is still running. Exited processes whose
// parent has not collected them yet (zombies) no longer count: under an init
// that never collects, the group would otherwise look alive for ever.
bool groupHasLiveProcess(pid_t group)
{
    const QDir proc(QStringLiteral("/proc"));
    if (!proc.exists())
        return ::killpg(group, 0) == 0;
    const QStringList entries = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isPid = false;
        entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        QFile stat(proc.filePath(entry) + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // pid (comm) state ppid pgrp ...; comm may hold blanks and parentheses.
        const qsizetype afterName = line.lastIndexOf(')');
        if (afterName < 0)
            continue;
        const QList<QByteArray> fields = line.mid(afterName + 2).split(' ');
        if (fields.size() < 3)
            continue;
        if (fields[2].toLongLong() == group && fields[0] != "Z" && fields[0] != "X")
            return true;
    }
    return false;
}

} // namespace

namespace OrphanGuard {

void makeGroupLeader(QProcess &process)
{
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
}

void watch(qint64 groupId)
{
    installHandlersOnce();
    for (auto &slot : g_watched) {
        pid_t empty = 0;
        if (slot.compare_exchange_strong(empty, static_cast<pid_t>(groupId)))
            return;
    }
}

void forget(qint64 groupId)
{
    for (auto &slot : g_watched) {
        pid_t expected = static_cast<pid_t>(groupId);
        slot.compare_exchange_strong(expected, 0);
    }
}

void endGroup(qint64 groupId, int graceMs)
{
    if (groupId <= 0)
        return;
    const pid_t group = static_cast<pid_t>(groupId);
    if (::killpg(group, SIGTERM) != 0 && errno == ESRCH)
        return;
    const timespec step = {0, 20 * 1000 * 1000};
    for (int waited = 0; waited < graceMs; waited += 20) {
        if (!groupHasLiveProcess(group))
            return;
        ::nanosleep(&step, nullptr);
    }
    ::killpg(group, SIGKILL);
}

} // namespace OrphanGuard
