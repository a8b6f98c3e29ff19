#pragma once

#include <QtGlobal>

class QProcess;

// Keeps the browser's processes from outliving the program. chromedriver is
// started as the leader of its own process group, and Chromium with all its
// helpers stays in that group, so the whole browser ends with one signal to
// the group: on quit, and also when the program ends by exit, an uncaught
// exception or an interrupt/termination signal.
namespace OrphanGuard {

// Call before QProcess::start: the child leads a new process group.
void makeGroupLeader(QProcess &process);

// Ends the group with the program unless forgotten first.
void watch(qint64 groupId);
void forget(qint64 groupId);

// Asks every process of the group to end, waits up to graceMs for them, then
// kills what is left. Safe on a group that is already gone.
void endGroup(qint64 groupId, int graceMs);

} // namespace OrphanGuard
