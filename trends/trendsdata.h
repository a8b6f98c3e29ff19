#pragma once

#include "history/historystore.h"
#include "history/historytypes.h"
#include "trends/trendstable.h"

#include <QDate>
#include <QList>
#include <QStringList>

class HistoryStore;

// What the trends window shows, computed from the snapshots without widgets.
namespace Trends {

enum class Quantity { Points, Population, Merit };

// "ポイント", "人口", "戦功".
QString label(Quantity quantity);

struct TimePoint
{
    QDateTime at;
    qint64 value = 0;
    bool operator==(const TimePoint &) const = default;
};

// Everything the window opens with of one alliance: what the store keeps
// up to date as runs are recorded, not the runs themselves, so it opens as
// fast after years of daily runs as after a few.
struct Loaded
{
    bool ok = true;
    QString error;                // for the user, when !ok
    bool noFile = false;          // nothing recorded yet
    QList<SnapshotTotals> totals; // in time order
    QList<IdleMember> idle;
    QStringList joinLeave;
};
Loaded load(HistoryStore &store, const QString &allianceId, const QDate &today);

// One member's readings, one per run that holds the member (a reading by
// the member's id before one of the same name without an id), in time order.
Result<QList<DatedReading>> loadMember(HistoryStore &store, const QString &allianceId,
                                              const MemberReading &member);

// The value axis of a chart over values from low to high: whole-number
// bounds and a tick count whose labels are whole numbers apart, so no two
// labels read the same, and some room around a single value or a flat line.
struct ValueAxis
{
    qint64 min = 0;
    qint64 max = 0;
    int tickCount = 5;
};
ValueAxis valueAxis(qint64 low, qint64 high);

// The member's value at every run that read it, in time order.
QList<TimePoint> memberSeries(const QList<DatedReading> &readings, Quantity quantity);
// The sum over the members of every snapshot that read the value for anyone.
QList<TimePoint> allianceTotals(const QList<SnapshotTotals> &totals, Quantity quantity);

// 名前, ユーザーID, 最終変動日, 経過日数, 備考.
TrendsTable idleTable(const QList<IdleMember> &idle);
// The names of the members whose points have not moved for at least that
// many days, in the table's order: the ones a letter may go to.
QStringList idleFor(const QList<IdleMember> &idle, int days);
// 日時, 記録元, ポイント, 人口, 戦功: one row per snapshot that holds the member.
TrendsTable memberTable(const QList<DatedReading> &readings);
// 日時, 記録元, 人数, ポイント合計, 人口合計, 戦功合計.
TrendsTable totalsTable(const QList<SnapshotTotals> &totals);
// 日付, 区分, 名前, from the log lines "yyyy/MM/dd 加入 name".
TrendsTable joinLeaveTable(const QStringList &log);


} // namespace Trends
