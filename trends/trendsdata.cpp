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

Loaded load(HistoryStore &store, const QString &allianceId, const QDate &today)
{
    Loaded history;
    history.noFile = !QFile::exists(store.path());
    Result<QList<SnapshotTotals>> totals = store.totals(allianceId);
    Result<QList<IdleMember>> idle = store.daysSincePointsLastMoved(allianceId, today);
    Result<QStringList> joinLeave = store.joinLeaveLog(allianceId);
    for (const QString &error : {totals.error, idle.error, joinLeave.error}) {
        if (!error.isEmpty())
            return Loaded{false, error, history.noFile, {}, {}, {}};
    }
    history.totals = std::move(totals.value);
    history.idle = std::move(idle.value);
    history.joinLeave = std::move(joinLeave.value);
    return history;
}

Result<QList<DatedReading>> loadMember(HistoryStore &store, const QString &allianceId,
                                       const MemberReading &member)
{
    Result<QList<DatedReading>> found = store.memberReadings(allianceId, member.userId, member.name);
    // A run may hold the member by id and a reading of that name without
    // one: the id's reading is the member's.
    QList<DatedReading> one;
    for (const DatedReading &reading : std::as_const(found.value)) {
        if (!one.isEmpty() && one.last().snapshotId == reading.snapshotId) {
            if (!member.userId.isEmpty() && reading.reading.userId == member.userId)
                one.last() = reading;
            continue;
        }
        one << reading;
    }
    found.value = one;
    return found;
}

QList<TimePoint> memberSeries(const QList<DatedReading> &readings, Quantity quantity)
{
    QList<TimePoint> series;
    for (const DatedReading &reading : readings) {
        if (const std::optional<qint64> value = valueOf(reading.reading, quantity))
            series << TimePoint{reading.takenAt, *value};
    }
    return series;
}

QList<TimePoint> allianceTotals(const QList<SnapshotTotals> &totals, Quantity quantity)
{
    QList<TimePoint> series;
    for (const SnapshotTotals &snapshot : totals) {
        const std::optional<qint64> sum = quantity == Quantity::Points       ? snapshot.points
                                          : quantity == Quantity::Population ? snapshot.population
                                                                             : snapshot.merit;
        if (sum)
            series << TimePoint{snapshot.takenAt, *sum};
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

QStringList idleFor(const QList<IdleMember> &idle, int days)
{
    QStringList names;
    for (const IdleMember &member : idle) {
        if (member.days >= days)
            names.append(member.name);
    }
    return names;
}

TrendsTable memberTable(const QList<DatedReading> &readings)
{
    TrendsTable table{{QStringLiteral("日時"), QStringLiteral("記録元"), QStringLiteral("ポイント"),
                       QStringLiteral("人口"), QStringLiteral("戦功")},
                      {}};
    for (const DatedReading &reading : readings) {
        // A reply check's or a ranking's reading has none of these values.
        if (!::History::readsMemberValues(reading.command))
            continue;
        table.rows << QStringList{momentText(reading.takenAt), ::History::kindLabel(reading.command),
                                  numberText(reading.reading.points), numberText(reading.reading.population),
                                  numberText(reading.reading.merit)};
    }
    return table;
}

TrendsTable totalsTable(const QList<SnapshotTotals> &totals)
{
    TrendsTable table{{QStringLiteral("日時"), QStringLiteral("記録元"), QStringLiteral("人数"),
                       QStringLiteral("ポイント合計"), QStringLiteral("人口合計"),
                       QStringLiteral("戦功合計")},
                      {}};
    table.rows.reserve(totals.size());
    for (const SnapshotTotals &snapshot : totals) {
        table.rows << QStringList{
            momentText(snapshot.takenAt),          ::History::kindLabel(snapshot.command),
            QString::number(snapshot.memberCount), numberText(snapshot.points),
            numberText(snapshot.population),       numberText(snapshot.merit)};
    }
    return table;
}

TrendsTable joinLeaveTable(const QStringList &log)
{
    TrendsTable table{{QStringLiteral("日付"), QStringLiteral("区分"), QStringLiteral("名前")}, {}};
    for (const QString &line : log) {
        const HistoryTrends::LogEntry entry = HistoryTrends::readLogLine(line);
        if (!entry.day.isValid()) {
            table.rows << QStringList{line, QString(), QString()};
            continue;
        }
        table.rows << QStringList{line.section(u' ', 0, 0), entry.what, entry.name};
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
