#include "alliance/console/runnews.h"

#include "history/historystore.h"
#include "history/historytrends.h"

#include <QSet>

namespace {

const SnapshotTotals *lastWithPoints(const QList<SnapshotTotals> &totals)
{
    for (auto it = totals.crbegin(); it != totals.crend(); ++it) {
        if (it->points)
            return &*it;
    }
    return nullptr;
}

// The lines this run added: at the end, unless the log was made anew
// (a clock set back), when they are those the log did not hold.
QStringList addedLines(const QStringList &before, const QStringList &after)
{
    if (after.size() >= before.size() && after.mid(0, before.size()) == before)
        return after.mid(before.size());
    const QSet<QString> known(before.cbegin(), before.cend());
    QStringList added;
    for (const QString &line : after) {
        if (!known.contains(line))
            added << line;
    }
    return added;
}

bool onLeave(const IdleMember &member, const QList<MemberNote> &notes, const QDate &today)
{
    for (const MemberNote &note : notes) {
        const bool same = !note.userId.isEmpty() && !member.userId.isEmpty() ? note.userId == member.userId
                                                                             : note.name == member.name;
        if (same && note.leaveUntil.isValid() && note.leaveUntil >= today)
            return true;
    }
    return false;
}

} // namespace

namespace RunNews {

News compare(const Before &before, const After &after, int idleDays)
{
    News news;
    news.idleDays = idleDays;
    for (const QString &line : addedLines(before.joinLeaveLog, after.joinLeaveLog)) {
        const HistoryTrends::LogEntry entry = HistoryTrends::readLogLine(line);
        if (entry.name.isEmpty())
            continue;
        (entry.joined ? news.joined : news.left) << entry.name;
    }
    // Idle days only grow with a reading of points: without one before, every
    // member is new, and without one now, nothing changed.
    if (!before.lastPointsDay.isValid() || after.lastPointsSnapshot == before.lastPointsSnapshot)
        return news;
    for (const IdleMember &member : after.idle) {
        const bool idleBefore = member.lastMovedOn.daysTo(before.lastPointsDay) >= idleDays;
        if (member.days >= idleDays && !idleBefore && !onLeave(member, after.notes, after.today))
            news.newlyIdle << member.name;
    }
    return news;
}

Before readBefore(HistoryStore &store, const QString &allianceId)
{
    Before before;
    before.joinLeaveLog = store.joinLeaveLog(allianceId).value;
    if (const SnapshotTotals *last = lastWithPoints(store.totals(allianceId).value)) {
        before.lastPointsDay = last->takenAt.date();
        before.lastPointsSnapshot = last->snapshotId;
    }
    return before;
}

News readNews(HistoryStore &store, const QString &allianceId, const Before &before, const QDate &today,
              int idleDays)
{
    After after;
    after.today = today;
    after.joinLeaveLog = store.joinLeaveLog(allianceId).value;
    if (const SnapshotTotals *last = lastWithPoints(store.totals(allianceId).value))
        after.lastPointsSnapshot = last->snapshotId;
    after.idle = store.daysSincePointsLastMoved(allianceId, today).value;
    after.notes = store.notes(allianceId).value;
    return compare(before, after, idleDays);
}

} // namespace RunNews
