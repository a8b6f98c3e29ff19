#pragma once

#include "history/historytypes.h"
#include "history/membernotes.h"

#include <QDate>
#include <QStringList>

class HistoryStore;

// What a run without the window found new in the alliance, for the leader
// who did not watch it: who joined, who left, and who has now stood still
// for the days the briefing counts as idle.
namespace RunNews {

// The history as the run found it.
struct Before
{
    QStringList joinLeaveLog;
    QDate lastPointsDay; // invalid: nothing read points yet
    qint64 lastPointsSnapshot = 0;
};

struct News
{
    QStringList joined;
    QStringList left;
    QStringList newlyIdle; // idle idleDays or more now, and not at the reading before
    int idleDays = 0;

    bool isEmpty() const { return joined.isEmpty() && left.isEmpty() && newlyIdle.isEmpty(); }
};

struct After
{
    QStringList joinLeaveLog;
    qint64 lastPointsSnapshot = 0;
    QList<IdleMember> idle; // as of today
    QList<MemberNote> notes;
    QDate today;
};

// Pure: what differs between the two. A member on leave (a note's day not
// yet past) is no news.
News compare(const Before &before, const After &after, int idleDays);

// Read from the store: empty where it could not be read (a run's news is
// never worth failing the run for).
Before readBefore(HistoryStore &store, const QString &allianceId);
News readNews(HistoryStore &store, const QString &allianceId, const Before &before, const QDate &today,
              int idleDays);

} // namespace RunNews
