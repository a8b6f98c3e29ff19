#include "history/historysummary.h"

#include "history/historysql.h"
#include "history/historytrends.h"

#include <QSqlError>
#include <QSqlQuery>

using namespace HistorySql;

namespace {

QString failed(const QSqlQuery &query)
{
    return reasonFor(query.lastError());
}

QString writeTotals(QSqlDatabase &db, const QString &allianceId, const Snapshot &snapshot, qint64 id)
{
    // A reply check or a ranking has no sums of the member table to chart.
    if (!History::readsMemberValues(snapshot.command))
        return {};
    const SnapshotTotals totals = HistoryTrends::totalsOf(snapshot);
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("INSERT OR REPLACE INTO snapshot_total (snapshot_id, alliance_id, taken_utc, "
                       "command, member_count, points, population, merit) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    query.addBindValue(id);
    query.addBindValue(text(allianceId));
    query.addBindValue(utcKey(snapshot.takenAt));
    query.addBindValue(snapshot.command);
    query.addBindValue(totals.memberCount);
    query.addBindValue(nullable(totals.points));
    query.addBindValue(nullable(totals.population));
    query.addBindValue(nullable(totals.merit));
    return query.exec() ? QString() : failed(query);
}

Result<HistoryTrends::PointsStates> loadStates(QSqlDatabase &db, const QString &allianceId)
{
    using Loaded = Result<HistoryTrends::PointsStates>;
    Loaded loaded;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT member_key, last_points, last_moved_on, moved, name, %1 FROM points_state "
                       "WHERE alliance_id = ?")
            .arg(hasRunColumns(db) ? QStringLiteral("stood_days") : QStringLiteral("0")));
    query.addBindValue(text(allianceId));
    if (!query.exec())
        return Loaded::failure(failed(query));
    while (query.next()) {
        loaded.value.insert(query.value(0).toString(),
                            PointsState{query.value(1).toLongLong(),
                                        QDate::fromString(query.value(2).toString(), Qt::ISODate),
                                        query.value(3).toBool(), query.value(4).toString(),
                                        query.value(5).toInt()});
    }
    return query.lastError().isValid() ? Loaded::failure(failed(query)) : loaded;
}

QString writeStates(QSqlDatabase &db, const QString &allianceId, const HistoryTrends::PointsStates &states,
                    const QStringList &keys)
{
    QSqlQuery query(db);
    if (!query.prepare(
            QStringLiteral("INSERT OR REPLACE INTO points_state (alliance_id, member_key, name, "
                           "last_points, last_moved_on, moved, stood_days) VALUES (?, ?, ?, ?, ?, ?, ?)")))
        return failed(query);
    for (const QString &key : keys) {
        const PointsState &state = states[key];
        query.addBindValue(text(allianceId));
        query.addBindValue(key);
        query.addBindValue(text(state.name));
        query.addBindValue(state.lastPoints);
        query.addBindValue(state.lastMovedOn.toString(Qt::ISODate));
        query.addBindValue(state.moved ? 1 : 0);
        query.addBindValue(state.stoodBeforeLastMove);
        if (!query.exec())
            return failed(query);
    }
    return {};
}

QString writeJoinLeave(QSqlDatabase &db, const QString &allianceId, qint64 id, const Snapshot &before,
                       const Snapshot &after)
{
    QSqlQuery query(db);
    if (!query.prepare(
            QStringLiteral("INSERT INTO join_leave (alliance_id, snapshot_id, line) VALUES (?, ?, ?)")))
        return failed(query);
    for (const QString &line : HistoryTrends::joinLeaveLog({before, after})) {
        query.addBindValue(text(allianceId));
        query.addBindValue(id);
        query.addBindValue(line);
        if (!query.exec())
            return failed(query);
    }
    return {};
}

// The roster recorded last before the snapshot id, with its members.
// The alliance's whole-membership snapshot before id; none when there is none.
Result<std::optional<Snapshot>> previousRoster(QSqlDatabase &db, const QString &allianceId, qint64 id)
{
    using Found = Result<std::optional<Snapshot>>;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral(
        "SELECT s.id, s.taken_at FROM snapshot_total t JOIN snapshot s ON s.id = t.snapshot_id "
        "WHERE t.alliance_id = ? AND t.command IN (?, ?) AND t.snapshot_id <> ? "
        "ORDER BY t.taken_utc DESC, t.snapshot_id DESC LIMIT 1"));
    query.addBindValue(text(allianceId));
    query.addBindValue(History::Kinds::roster.key);
    query.addBindValue(History::Kinds::survey.key);
    query.addBindValue(id);
    if (!query.exec())
        return Found::failure(failed(query));
    if (!query.next())
        return query.lastError().isValid() ? Found::failure(failed(query)) : Found{};
    Snapshot found;
    found.id = query.value(0).toLongLong();
    found.takenAt = QDateTime::fromString(query.value(1).toString(), Qt::ISODate);
    Result<QList<MemberReading>> members = loadMembers(db, found.id);
    if (!members)
        return Found::failure(members.error);
    found.members = std::move(members.value);
    return Found{true, {}, found};
}

QString rebuildAlliance(QSqlDatabase &db, const QString &allianceId)
{
    QSqlQuery query(db);
    for (const QString &table : {QStringLiteral("points_state"), QStringLiteral("join_leave")}) {
        query.prepare(QStringLiteral("DELETE FROM %1 WHERE alliance_id = ?").arg(table));
        query.addBindValue(text(allianceId));
        if (!query.exec())
            return failed(query);
    }
    const Result<QList<Snapshot>> loaded = loadSnapshots(db, allianceId, {});
    if (!loaded)
        return loaded.error;
    const QList<Snapshot> &snapshots = loaded.value;
    HistoryTrends::PointsStates states;
    const Snapshot *roster = nullptr;
    for (const Snapshot &snapshot : std::as_const(snapshots)) {
        QString reason = writeTotals(db, allianceId, snapshot, snapshot.id);
        if (reason.isEmpty() && History::readsWholeMembership(snapshot.command)) {
            if (roster)
                reason = writeJoinLeave(db, allianceId, snapshot.id, *roster, snapshot);
            roster = &snapshot;
        }
        if (!reason.isEmpty())
            return reason;
        if (HistoryTrends::readsPoints(snapshot))
            HistoryTrends::applyPoints(states, snapshot);
    }
    return writeStates(db, allianceId, states, states.keys());
}

} // namespace

namespace HistorySummary {

QStringList schema()
{
    return {
        QStringLiteral("CREATE TABLE snapshot_total ("
                       " snapshot_id INTEGER PRIMARY KEY REFERENCES snapshot (id) ON DELETE CASCADE,"
                       " alliance_id TEXT NOT NULL,"
                       " taken_utc TEXT NOT NULL,"
                       " command TEXT NOT NULL,"
                       " member_count INTEGER NOT NULL,"
                       " points INTEGER, population INTEGER, merit INTEGER)"),
        QStringLiteral("CREATE INDEX snapshot_total_by_alliance ON snapshot_total (alliance_id, taken_utc, "
                       "snapshot_id)"),
        QStringLiteral("CREATE TABLE points_state ("
                       " alliance_id TEXT NOT NULL,"
                       " member_key TEXT NOT NULL,"
                       " name TEXT NOT NULL,"
                       " last_points INTEGER NOT NULL,"
                       " last_moved_on TEXT NOT NULL,"
                       " moved INTEGER NOT NULL,"
                       " PRIMARY KEY (alliance_id, member_key))"),
        QStringLiteral("CREATE TABLE join_leave ("
                       " id INTEGER PRIMARY KEY,"
                       " alliance_id TEXT NOT NULL,"
                       " snapshot_id INTEGER NOT NULL REFERENCES snapshot (id) ON DELETE CASCADE,"
                       " line TEXT NOT NULL)"),
        QStringLiteral("CREATE INDEX join_leave_by_alliance ON join_leave (alliance_id, snapshot_id)"),
        // Every run of a large alliance touches a page of a by-name index
        // for each member, which at years of runs is most of the time a run
        // takes to record. Members are found by id; only readings without
        // one need their name looked up.
        QStringLiteral("DROP INDEX member_reading_by_name"),
        QStringLiteral(
            "CREATE INDEX member_reading_idless_by_name ON member_reading (name) WHERE user_id IS NULL"),
    };
}

QString record(QSqlDatabase &db, const Snapshot &snapshot, qint64 id)
{
    const QString allianceId = snapshot.allianceId;
    QSqlQuery latest(db);
    latest.prepare(QStringLiteral("SELECT MAX(taken_utc) FROM snapshot_total WHERE alliance_id = ?"));
    latest.addBindValue(text(allianceId));
    if (!latest.exec() || !latest.next())
        return failed(latest);
    const bool outOfOrder =
        !latest.value(0).isNull() && latest.value(0).toString() > utcKey(snapshot.takenAt);
    if (outOfOrder)
        return rebuildAlliance(db, allianceId);

    if (const QString reason = writeTotals(db, allianceId, snapshot, id); !reason.isEmpty())
        return reason;
    if (HistoryTrends::readsPoints(snapshot)) {
        Result<HistoryTrends::PointsStates> states = loadStates(db, allianceId);
        if (!states)
            return states.error;
        const QStringList changed = HistoryTrends::applyPoints(states.value, snapshot);
        if (const QString reason = writeStates(db, allianceId, states.value, changed); !reason.isEmpty())
            return reason;
    }
    if (!History::readsWholeMembership(snapshot.command))
        return {};
    const Result<std::optional<Snapshot>> before = previousRoster(db, allianceId, id);
    if (!before || !before.value)
        return before.error;
    return writeJoinLeave(db, allianceId, id, *before.value, snapshot);
}

QString rebuildAll(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT DISTINCT alliance_id FROM snapshot")))
        return failed(query);
    QStringList alliances;
    while (query.next())
        alliances << query.value(0).toString();
    for (const QString &allianceId : std::as_const(alliances)) {
        if (const QString reason = rebuildAlliance(db, allianceId); !reason.isEmpty())
            return reason;
    }
    return {};
}

Result<QList<SnapshotTotals>> totals(QSqlDatabase &db, const QString &allianceId)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT t.snapshot_id, s.taken_at, t.command, t.member_count, t.points, "
                       "t.population, t.merit FROM snapshot_total t JOIN snapshot s ON s.id = t.snapshot_id "
                       "WHERE t.alliance_id = ? ORDER BY t.taken_utc, t.snapshot_id"));
    query.addBindValue(text(allianceId));
    if (!query.exec())
        return Result<QList<SnapshotTotals>>::failure(failed(query));
    Result<QList<SnapshotTotals>> totals;
    while (query.next()) {
        totals.value.append(SnapshotTotals{
            query.value(0).toLongLong(), QDateTime::fromString(query.value(1).toString(), Qt::ISODate),
            query.value(2).toString(), query.value(3).toInt(), optionalInt64(query.value(4)),
            optionalInt64(query.value(5)), optionalInt64(query.value(6))});
    }
    return query.lastError().isValid() ? Result<QList<SnapshotTotals>>::failure(failed(query)) : totals;
}

Result<QList<IdleMember>> idle(QSqlDatabase &db, const QString &allianceId, const QDate &today)
{
    using Idle = Result<QList<IdleMember>>;
    QSqlQuery latest(db);
    latest.prepare(
        QStringLiteral("SELECT snapshot_id FROM snapshot_total WHERE alliance_id = ? AND points IS NOT NULL "
                       "ORDER BY taken_utc DESC, snapshot_id DESC LIMIT 1"));
    latest.addBindValue(text(allianceId));
    if (!latest.exec())
        return Idle::failure(failed(latest));
    if (!latest.next())
        return latest.lastError().isValid() ? Idle::failure(failed(latest)) : Idle{};
    Snapshot snapshot;
    Result<QList<MemberReading>> members = loadMembers(db, latest.value(0).toLongLong());
    if (!members)
        return Idle::failure(members.error);
    snapshot.members = std::move(members.value);
    const Result<HistoryTrends::PointsStates> states = loadStates(db, allianceId);
    if (!states)
        return Idle::failure(states.error);
    return {true, {}, HistoryTrends::idleFrom(states.value, snapshot, today)};
}

Result<QStringList> joinLeave(QSqlDatabase &db, const QString &allianceId)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral(
        "SELECT j.line FROM join_leave j JOIN snapshot_total t ON t.snapshot_id = j.snapshot_id "
        "WHERE j.alliance_id = ? ORDER BY t.taken_utc, j.snapshot_id, j.id"));
    query.addBindValue(text(allianceId));
    if (!query.exec())
        return Result<QStringList>::failure(failed(query));
    Result<QStringList> lines;
    while (query.next())
        lines.value.append(query.value(0).toString());
    return query.lastError().isValid() ? Result<QStringList>::failure(failed(query)) : lines;
}

} // namespace HistorySummary
