#pragma once

#include <QString>
#include <QtGlobal>

class QProcess;

// Keeps the browser's processes from outliving the program. chromedriver is
// started as the leader of its own process group, and Chromium with all its
// helpers stays in that group, so the whole browser ends with one signal to
// the group: on quit, and also when the program ends by exit, an uncaught
// exception or an interrupt/termination signal. A program that is killed
// outright (SIGKILL, a crash) runs no code of its own: then a watcher inside
// the group ends it, since chromedriver leaves Chromium running when it dies.
namespace OrphanGuard {

// Ties a browser's process group to this program's life: the program holds
// one end of a pipe and the group's watcher the other, so the watcher reads
// the end of the pipe when the program is gone, however it ended.
class GroupTie
{
public:
    GroupTie() = default;
    ~GroupTie();
    GroupTie(const GroupTie &) = delete;
    GroupTie &operator=(const GroupTie &) = delete;

    // After QProcess::start: only the group keeps its end.
    void started();
    // After the group was ended: nothing left to watch.
    void release();

private:
    friend void makeGroupLeader(QProcess &process, GroupTie &tie);
    int m_programEnd = -1;
    int m_groupEnd = -1;
};

// Call before QProcess::start: the child leads a new process group tied to
// this program through tie.
void makeGroupLeader(QProcess &process, GroupTie &tie);

// Ends the group with the program unless forgotten first.
void watch(qint64 groupId);
void forget(qint64 groupId);

// Asks every process of the group to end, waits up to graceMs for them, then
// kills what is left. Safe on a group that is already gone.
void endGroup(qint64 groupId, int graceMs);

// Ends what a program that could not clean up left running on profileDir: a
// Chromium started through chromedriver on that profile, with its driver,
// watcher and helpers; never a browser of this program's own. Call only while holding the profile's lock, so
// that such a browser belongs to no running program. Returns once they are gone, or after graceMs.
void endLeftBehindBrowsers(const QString &profileDir, int graceMs);

// A running process that has profileDir open and was not started by
// chromedriver ("chromium（プロセス番号 1234）"); empty when none is found.
QString profileHolder(const QString &profileDir);

} // namespace OrphanGuard
