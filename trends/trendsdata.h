#pragma once

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

// Everything the window needs of one alliance, read from the store once.
struct Loaded
{
    bool ok = true;
    QString error;             // for the user, when !ok
    bool noFile = false;       // nothing recorded yet
    QList<Snapshot> snapshots; // in time order
    QList<IdleMember> idle;
    QStringList joinLeave;
};
Loaded load(HistoryStore &store, const QString &allianceId, const QDate &today);

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

// The member's value at every snapshot that read it, in time order.
QList<TimePoint> memberSeries(const QList<Snapshot> &snapshots, const MemberReading &member,
                              Quantity quantity);
// The sum over the members of every snapshot that read the value for anyone.
QList<TimePoint> allianceTotals(const QList<Snapshot> &snapshots, Quantity quantity);

// 名前, ユーザーID, 最終変動日, 経過日数, 備考.
TrendsTable idleTable(const QList<IdleMember> &idle);
// 日時, 記録元, ポイント, 人口, 戦功: one row per snapshot that holds the member.
TrendsTable memberTable(const QList<Snapshot> &snapshots, const MemberReading &member);
// 日時, 記録元, 人数, ポイント合計, 人口合計, 戦功合計.
TrendsTable totalsTable(const QList<Snapshot> &snapshots);
// 日付, 区分, 名前, from the log lines "yyyy/MM/dd 加入 name".
TrendsTable joinLeaveTable(const QStringList &log);

// The command names as the tool window's buttons say them.
QString commandLabel(const QString &command);

} // namespace Trends
