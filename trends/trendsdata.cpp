#include "trends/trendsdata.h"

#include "history/historystore.h"
#include "history/historytrends.h"

#include <QFile>
#include <algorithm>
#include <cstdlib>

namespace {

std::optional<qint64> valueOf(const MemberReading &reading, Trends::Quantity quantity)
{
    switch (quantity) {
    case Trends::Quantity::Points:
        return reading.points;
    case Trends::Quantity::Population:
        return reading.population;
    case Trends::Quantity::Merit:
        return reading.merit;
    }
    return std::nullopt;
}

const MemberReading *findIn(const Snapshot &snapshot, const MemberReading &member)
{
    // An id match wins over a reading of the same name without an id.
    const MemberReading *byName = nullptr;
    for (const MemberReading &reading : snapshot.members) {
        if (!HistoryTrends::sameMember(reading, member))
            continue;
        if (!member.userId.isEmpty() && reading.userId == member.userId)
            return &reading;
        if (!byName)
            byName = &reading;
    }
    return byName;
}

QString numberText(const std::optional<qint64> &value)
{
    return value ? QString::number(*value) : QString();
}

QString momentText(const QDateTime &at)
{
    return at.toString(QStringLiteral("yyyy/MM/dd HH:mm"));
}

} // namespace

namespace Trends {

QString label(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Points:
        return QStringLiteral("ポイント");
    case Quantity::Population:
        return QStringLiteral("人口");
    case Quantity::Merit:
        return QStringLiteral("戦功");
    }
    return {};
}

QString commandLabel(const QString &command)
{
    if (command == ::History::rosterCommand())
        return QStringLiteral("同盟名簿作成");
    if (command == ::History::reportCommand())
        return QStringLiteral("同盟データ取得");
    if (command == ::History::activityCommand())
        return QStringLiteral("同盟員活動履歴");
    if (command == ::History::castlesCommand())
        return QStringLiteral("出城リスト作成");
    return command;
}

Loaded load(HistoryStore &store, const QString &allianceId, const QDate &today)
{
    Loaded history;
    history.noFile = !QFile::exists(store.path());
    // One read of every snapshot; the member list and the log are computed
    // from it rather than read again for each.
    HistoryResult<QList<Snapshot>> all = store.snapshots(allianceId);
    if (!all) {
        history.ok = false;
        history.error = all.error;
        return history;
    }
    history.snapshots = HistoryTrends::inTimeOrder(all.value);
    history.idle = HistoryTrends::daysSincePointsLastMoved(history.snapshots, today);
    // Only the roster reads the whole membership every time; a report or an
    // activity run that left a member out is no leave.
    QList<Snapshot> rosters;
    for (const Snapshot &snapshot : std::as_const(history.snapshots)) {
        if (snapshot.command == ::History::rosterCommand())
            rosters << snapshot;
    }
    history.joinLeave = HistoryTrends::joinLeaveLog(rosters);
    return history;
}

QList<TimePoint> memberSeries(const QList<Snapshot> &snapshots, const MemberReading &member,
                              Quantity quantity)
{
    QList<TimePoint> series;
    for (const Snapshot &snapshot : snapshots) {
        const MemberReading *reading = findIn(snapshot, member);
        if (!reading)
            continue;
        if (const std::optional<qint64> value = valueOf(*reading, quantity))
            series << TimePoint{snapshot.takenAt, *value};
    }
    return series;
}

QList<TimePoint> allianceTotals(const QList<Snapshot> &snapshots, Quantity quantity)
{
    QList<TimePoint> series;
    for (const Snapshot &snapshot : snapshots) {
        qint64 total = 0;
        bool read = false;
        for (const MemberReading &reading : snapshot.members) {
            if (const std::optional<qint64> value = valueOf(reading, quantity)) {
                total += *value;
                read = true;
            }
        }
        if (read)
            series << TimePoint{snapshot.takenAt, total};
    }
    return series;
}

TrendsTable idleTable(const QList<IdleMember> &idle)
{
    TrendsTable table{{QStringLiteral("名前"), QStringLiteral("ユーザーID"), QStringLiteral("最終変動日"),
                       QStringLiteral("経過日数"), QStringLiteral("備考")},
                      {}};
    table.rows.reserve(idle.size());
    for (const IdleMember &member : idle) {
        // Never moved: the first reading is the earliest day known, and the
        // member may have stood still for longer.
        table.rows << QStringList{member.name, member.userId,
                                  member.lastMovedOn.toString(QStringLiteral("yyyy/MM/dd")),
                                  QString::number(member.days),
                                  member.neverMoved ? QStringLiteral("記録開始から変動なし") : QString()};
    }
    return table;
}

TrendsTable memberTable(const QList<Snapshot> &snapshots, const MemberReading &member)
{
    TrendsTable table{{QStringLiteral("日時"), QStringLiteral("記録元"), QStringLiteral("ポイント"),
                       QStringLiteral("人口"), QStringLiteral("戦功")},
                      {}};
    for (const Snapshot &snapshot : snapshots) {
        if (const MemberReading *reading = findIn(snapshot, member)) {
            table.rows << QStringList{momentText(snapshot.takenAt), commandLabel(snapshot.command),
                                      numberText(reading->points), numberText(reading->population),
                                      numberText(reading->merit)};
        }
    }
    return table;
}

TrendsTable totalsTable(const QList<Snapshot> &snapshots)
{
    TrendsTable table{{QStringLiteral("日時"), QStringLiteral("記録元"), QStringLiteral("人数"),
                       QStringLiteral("ポイント合計"), QStringLiteral("人口合計"),
                       QStringLiteral("戦功合計")},
                      {}};
    for (const Snapshot &snapshot : snapshots) {
        std::optional<qint64> sums[3];
        for (const MemberReading &reading : snapshot.members) {
            const std::optional<qint64> values[3] = {reading.points, reading.population, reading.merit};
            for (int i = 0; i < 3; ++i) {
                if (values[i])
                    sums[i] = sums[i].value_or(0) + *values[i];
            }
        }
        table.rows << QStringList{momentText(snapshot.takenAt),
                                  commandLabel(snapshot.command),
                                  QString::number(snapshot.members.size()),
                                  numberText(sums[0]),
                                  numberText(sums[1]),
                                  numberText(sums[2])};
    }
    return table;
}

TrendsTable joinLeaveTable(const QStringList &log)
{
    TrendsTable table{{QStringLiteral("日付"), QStringLiteral("区分"), QStringLiteral("名前")}, {}};
    for (const QString &line : log) {
        // "yyyy/MM/dd 加入 name": the name is the rest, blanks and all.
        const qsizetype first = line.indexOf(u' ');
        const qsizetype second = first < 0 ? -1 : line.indexOf(u' ', first + 1);
        if (second < 0) {
            table.rows << QStringList{line, QString(), QString()};
            continue;
        }
        table.rows << QStringList{line.left(first), line.mid(first + 1, second - first - 1),
                                  line.mid(second + 1)};
    }
    return table;
}

ValueAxis valueAxis(qint64 low, qint64 high)
{
    constexpr int kTicks = 5;
    // A single value or a flat line gets a tenth of its size on either side
    // (at least 2), a line that moves a twentieth of its span.
    const qint64 span = high - low;
    const qint64 pad = span == 0 ? std::max<qint64>(2, std::abs(low) / 10) : std::max<qint64>(1, span / 20);
    ValueAxis axis;
    axis.min = low - pad;
    const qint64 step = std::max<qint64>(1, (high + pad - axis.min + kTicks - 2) / (kTicks - 1));
    axis.max = axis.min + step * (kTicks - 1);
    axis.tickCount = kTicks;
    return axis;
}

} // namespace Trends
