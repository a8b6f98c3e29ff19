#pragma once

#include "alliance/console/exitcode.h"
#include "alliance/console/runnews.h"
#include "history/runrecords.h"

#include <QString>
#include <QStringList>

class Clock;
class DesktopNotifier;
class HistoryStore;

// Remembers a run without the window in its world's history, whatever its
// end, and, when no terminal watched it (a timer's run), tells the desktop
// when it failed or found news. Neither ever changes how the run ends.
class RunWitness
{
public:
    // notifier: null when a terminal watches the run.
    RunWitness(HistoryStore &history, const Clock &clock, DesktopNotifier *notifier, QString worldKey,
               QStringList commands);

    // The history as the commands found it, once the alliance is known.
    void commandsBegin(const QString &allianceId);
    // Returns why the record could not be kept, for standard error; empty
    // when it was.
    QString ended(ExitCode code, const QStringList &results, int memberCount, const QStringList &warnings,
                  int idleDays);

private:
    HistoryStore &m_history;
    const Clock &m_clock;
    DesktopNotifier *m_notifier;
    QString m_worldKey;
    RunRecord m_record;
    QString m_allianceId; // empty until the commands began: no news
    RunNews::Before m_before;
};
