#pragma once

#include "history/historytypes.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QStringList>

// What the history tells beyond a single run, computed from plain snapshots.
namespace HistoryTrends {

// Two readings are of the same member when their user ids match; a reading
// without an id (a command that did not read it) is matched by name.
bool sameMember(const MemberReading &a, const MemberReading &b);

// The snapshots in time order; runs of the same moment keep their order.
QList<Snapshot> inTimeOrder(QList<Snapshot> snapshots);

// "yyyy/MM/dd 加入 <name>" and "yyyy/MM/dd 脱退 <name>", one line per change
// between consecutive snapshots (taken in time order), dated by the later
// one. Within one pair: joins in the later page order, then leaves in the
// earlier page order. The first snapshot is the starting point and lists
// nobody.
QStringList joinLeaveLog(const QList<Snapshot> &snapshots);
// One line of that log taken apart: "yyyy/MM/dd 加入 name", the name being
// the rest, blanks and all. A line of no such form has no day.
struct LogEntry
{
    QDate day;
    bool joined = false;
    QString what; // 「加入」 or 「脱退」
    QString name;
};
LogEntry readLogLine(const QString &line);

// The members of the latest snapshot that read alliance points, in its page
// order, with the day their points were last seen to change across every
// snapshot that read points, and the days from then to today.
QList<IdleMember> daysSincePointsLastMoved(const QList<Snapshot> &snapshots, const QDate &today);

// The sums of one snapshot.
SnapshotTotals totalsOf(const Snapshot &snapshot);

// Whether any member's reading holds alliance points.
bool readsPoints(const Snapshot &snapshot);

// Each member's points state by pointsKey(): "id:<user id>", or "name:<name>"
// for every reading (what a reading without an id is matched by).
using PointsStates = QHash<QString, PointsState>;
QString pointsKey(const MemberReading &member);
// Brings the states up to a snapshot taken after every one applied before.
// Returns the keys whose state changed (to be written back).
QStringList applyPoints(PointsStates &states, const Snapshot &snapshot);
// The idle list of the latest snapshot that read points, from the states
// after every such snapshot was applied.
QList<IdleMember> idleFrom(const PointsStates &states, const Snapshot &latestWithPoints, const QDate &today);

} // namespace HistoryTrends
