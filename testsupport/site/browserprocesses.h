#pragma once

#include <QList>
#include <QString>

// The processes of a browser of the tests, found through /proc (Linux).

// Processes still running whose command line holds text.
QList<qint64> runningProcessesMentioning(const QString &text);

// Whether the process runs and is no zombie.
bool processRunning(qint64 pid);

// The Chromium browser process itself on that profile (not a helper, not
// chromedriver); 0 when there is none.
qint64 chromiumMainProcess(const QString &profileDir);

// The process group of a running process; 0 when it is gone or a zombie.
qint64 processGroup(qint64 pid);

// The running processes of that group: chromedriver, its watcher, Chromium.
QList<qint64> runningProcessesOfGroup(qint64 group);

// The process's short name ("chromedriver", "ovek-watcher").
QString processName(qint64 pid);
