// The one POSIX-only file of the browser backend: process groups, the
// handlers that end them when the program ends abnormally, the watcher that
// ends them when the program is killed outright, and what a killed program
// left running on its profile.
#include "site/orphanguard.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QProcess>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <fcntl.h>
#include <mutex>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#include <sys/syscall.h>
#endif

namespace {

// A fixed table of plain atomics: the signal handler may only read memory,
// never lock or allocate. A program has one browser, rarely two at a time.
constexpr int watchedSlots = 16;
std::atomic<pid_t> g_watched[watchedSlots];

const int handledSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
struct sigaction g_previous[sizeof handledSignals / sizeof handledSignals[0]];
std::terminate_handler g_previousTerminate = nullptr;

// How the watcher shows in a process list (and is told apart from the
// program it was forked from when a left-behind browser is ended).
constexpr char kWatcherName[] = "ovek-watcher";

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

// Runs in a process forked between fork and exec of chromedriver, so only
// async-signal-safe calls: it waits for the program's end of the pipe to
// close, then ends its own group.
[[noreturn]] void runWatcher(int groupEnd)
{
    // The program's handlers were copied with the fork: a signal to the
    // group must simply end the watcher, not act for the program.
    struct sigaction plain = {};
    plain.sa_handler = SIG_DFL;
    sigemptyset(&plain.sa_mask);
    for (const int signal : handledSignals)
        ::sigaction(signal, &plain, nullptr);
    sigset_t all;
    sigemptyset(&all);
    ::sigprocmask(SIG_SETMASK, &all, nullptr);
#ifdef Q_OS_LINUX
    ::prctl(PR_SET_NAME, kWatcherName, 0, 0, 0);
#endif
    // Every other descriptor the fork copied is let go: the program's end of
    // this pipe (or the watcher would hold it open itself), and the pipe by
    // which QProcess learns that chromedriver was started.
    if (groupEnd != 3) {
        ::dup2(groupEnd, 3);
        ::close(groupEnd);
    }
#if defined(Q_OS_LINUX) && defined(SYS_close_range)
    if (::syscall(SYS_close_range, 4U, ~0U, 0U) != 0)
#endif
    {
        const long last = ::sysconf(_SC_OPEN_MAX);
        for (long fd = 4; fd < (last > 0 ? last : 4096); ++fd)
            ::close(static_cast<int>(fd));
    }
    char byte;
    while (::read(3, &byte, 1) < 0 && errno == EINTR) {
    }
    ::killpg(0, SIGKILL);
    ::_exit(0);
}

struct ProcessEntry
{
    pid_t pid = 0;
    pid_t group = 0;
    QByteArray name; // comm
    QList<QByteArray> arguments;
};

QByteArray readWhole(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What is read of each process: its group alone while a group is being
// waited for (polled every 20 ms), also its command line when looking for a
// browser on a profile.
enum class Details { Group, CommandLine };

// Every process still running (no zombie); empty where /proc is not there.
QList<ProcessEntry> runningProcesses(Details details)
{
    QList<ProcessEntry> found;
    const QDir proc(QStringLiteral("/proc"));
    const QStringList entries = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        const QByteArray line = readWhole(proc.filePath(entry) + QStringLiteral("/stat"));
        // pid (comm) state ppid pgrp ...; comm may hold blanks and parentheses.
        const qsizetype nameStart = line.indexOf('(');
        const qsizetype afterName = line.lastIndexOf(')');
        if (nameStart < 0 || afterName < 0)
            continue;
        const QList<QByteArray> fields = line.mid(afterName + 2).split(' ');
        if (fields.size() < 3 || fields[0] == "Z" || fields[0] == "X")
            continue;
        ProcessEntry process;
        process.pid = static_cast<pid_t>(pid);
        process.group = static_cast<pid_t>(fields[2].toLongLong());
        process.name = line.mid(nameStart + 1, afterName - nameStart - 1);
        if (details == Details::CommandLine)
            process.arguments = readWhole(proc.filePath(entry) + QStringLiteral("/cmdline")).split('\0');
        found.append(process);
    }
    return found;
}

// True while a process of the group is still running. Exited processes whose
// parent has not collected them yet (zombies) no longer count: under an init
// that never collects, the group would otherwise look alive for ever.
bool groupHasLiveProcess(pid_t group)
{
    if (!QDir(QStringLiteral("/proc")).exists())
        return ::killpg(group, 0) == 0;
    for (const ProcessEntry &process : runningProcesses(Details::Group)) {
        if (process.group == group)
            return true;
    }
    return false;
}

bool opensProfile(const ProcessEntry &process, const QString &profileDir)
{
    static const QByteArray option("--user-data-dir=");
    const QString wanted = QDir::cleanPath(profileDir);
    for (const QByteArray &argument : process.arguments) {
        if (argument.startsWith(option) &&
            QDir::cleanPath(QFile::decodeName(argument.mid(option.size()))) == wanted)
            return true;
    }
    return false;
}

// The browser process itself, not one of its helpers (--type=renderer…).
bool isBrowserMain(const ProcessEntry &process)
{
    for (const QByteArray &argument : process.arguments) {
        if (argument.startsWith("--type="))
            return false;
    }
    return true;
}

bool watchedHere(pid_t group)
{
    return std::any_of(std::begin(g_watched), std::end(g_watched),
                       [group](const std::atomic<pid_t> &slot) { return slot.load() == group; });
}

bool startedByDriver(const ProcessEntry &process)
{
    for (const QByteArray &argument : process.arguments) {
        if (argument.startsWith("--remote-debugging-port=") || argument == "--remote-debugging-pipe")
            return true;
    }
    return false;
}

} // namespace

namespace OrphanGuard {

GroupTie::~GroupTie()
{
    started();
    release();
}

void GroupTie::started()
{
    if (m_groupEnd >= 0)
        ::close(m_groupEnd);
    m_groupEnd = -1;
}

void GroupTie::release()
{
    if (m_programEnd >= 0)
        ::close(m_programEnd);
    m_programEnd = -1;
}

void makeGroupLeader(QProcess &process, GroupTie &tie)
{
    tie.started();
    tie.release();
    int ends[2] = {-1, -1};
    // Close-on-exec: no program this one starts (chromedriver, revovi, a
    // later browser) keeps the program's end open.
    if (::pipe2(ends, O_CLOEXEC) == 0) {
        tie.m_groupEnd = ends[0];
        tie.m_programEnd = ends[1];
    }
    const pid_t program = ::getpid();
    const int groupEnd = tie.m_groupEnd;
    process.setChildProcessModifier([program, groupEnd] {
        ::setpgid(0, 0);
#ifdef Q_OS_LINUX
        // chromedriver itself dies with the program, whatever ended it.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL, 0, 0, 0);
#endif
        if (::getppid() != program)
            ::_exit(127); // the program was gone before the signal was asked for
        // chromedriver leaves Chromium running when it is killed: the
        // watcher, in the same group, ends them all.
        if (groupEnd >= 0 && ::fork() == 0)
            runWatcher(groupEnd);
        if (groupEnd >= 0)
            ::close(groupEnd);
    });
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

void endLeftBehindBrowsers(const QString &profileDir, int graceMs)
{
    QList<ProcessEntry> processes = runningProcesses(Details::CommandLine);
    QList<pid_t> groups;
    for (const ProcessEntry &process : std::as_const(processes)) {
        if (opensProfile(process, profileDir) && isBrowserMain(process) && startedByDriver(process) &&
            process.group > 1 && process.group != ::getpgrp() && !watchedHere(process.group) &&
            !groups.contains(process.group))
            groups.append(process.group);
    }
    // Only the browser's own processes of each group: the group's number
    // came from a program that is gone, and is no proof of the rest.
    QList<pid_t> victims;
    for (const ProcessEntry &process : std::as_const(processes)) {
        if (groups.contains(process.group) &&
            (opensProfile(process, profileDir) || process.name == "chromedriver" ||
             process.name == kWatcherName))
            victims.append(process.pid);
    }
    if (victims.isEmpty())
        return;
    for (const pid_t pid : std::as_const(victims))
        ::kill(pid, SIGKILL);
    const timespec step = {0, 20 * 1000 * 1000};
    for (int waited = 0; waited < graceMs; waited += 20) {
        processes = runningProcesses(Details::Group);
        const bool anyLeft = std::any_of(processes.cbegin(), processes.cend(),
                                         [&](const ProcessEntry &p) { return victims.contains(p.pid); });
        if (!anyLeft)
            return;
        ::nanosleep(&step, nullptr);
    }
}

QString profileHolder(const QString &profileDir)
{
    for (const ProcessEntry &process : runningProcesses(Details::CommandLine)) {
        if (opensProfile(process, profileDir) && isBrowserMain(process) && !startedByDriver(process))
            return QStringLiteral("%1（プロセス番号 %2）")
                .arg(QString::fromLocal8Bit(process.name))
                .arg(process.pid);
    }
    return QString();
}

} // namespace OrphanGuard
