#include "history/briefingsql.h"

#include "history/historykinds.h"
#include "history/historysql.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

using namespace HistorySql;

namespace {

// How many merit extractions back a member's last two places are looked for.
constexpr int kMeritRankingsRead = 20;

struct Listed
{
    qint64 id = 0;
    QDateTime takenAt;
    QString command;
    QString detail;
    bool mayHavePoints = true; // false where the sums say no member had points
};

bool hasTotals(QSqlDatabase &db)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral(
               "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'snapshot_total'")) &&
           query.next();
}

Result<QList<Listed>> listSnapshots(QSqlDatabase &db, const QString &allianceId)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    // The sums tell which readings had points without reading their members.
    const bool totals = hasTotals(db);
    query.prepare(
        QStringLiteral("SELECT s.id, s.taken_at, s.command, %1, %2 FROM snapshot s%3 WHERE s.alliance_id = ?")
            .arg(hasRunColumns(db) ? QStringLiteral("s.detail") : QStringLiteral("NULL"),
                 totals ? QStringLiteral("t.snapshot_id IS NULL OR t.points IS NOT NULL")
                        : QStringLiteral("1"),
                 totals ? QStringLiteral(" LEFT JOIN snapshot_total t ON t.snapshot_id = s.id") : QString()));
    query.addBindValue(text(allianceId));
    if (!query.exec())
        return Result<QList<Listed>>::failure(reasonFor(query.lastError()));
    QList<Listed> listed;
    while (query.next())
        listed << Listed{query.value(0).toLongLong(),
                         QDateTime::fromString(query.value(1).toString(), Qt::ISODate),
                         query.value(2).toString(), query.value(3).toString(), query.value(4).toBool()};
    if (query.lastError().isValid())
        return Result<QList<Listed>>::failure(reasonFor(query.lastError()));
    // Newest first; one moment of two runs keeps the order they were recorded in.
    std::stable_sort(listed.begin(), listed.end(), [](const Listed &a, const Listed &b) {
        return a.takenAt != b.takenAt ? a.takenAt > b.takenAt : a.id > b.id;
    });
    return {true, {}, listed};
}

Result<Snapshot> withMembers(QSqlDatabase &db, const Listed &listed)
{
    Result<QList<MemberReading>> members = loadMembers(db, listed.id);
    if (!members)
        return Result<Snapshot>::failure(members.error);
    return {true,
            {},
            Snapshot{listed.id, listed.takenAt, listed.command, QString(), std::move(members.value),
                     listed.detail}};
}

bool hasPoints(const Snapshot &snapshot)
{
    return std::any_of(snapshot.members.cbegin(), snapshot.members.cend(),
                       [](const MemberReading &reading) { return reading.points.has_value(); });
}

} // namespace

namespace BriefingSql {

Result<Briefing::Inputs> load(QSqlDatabase &db, const QString &allianceId, const QDate &today, int circulars)
{
    using Loaded = Result<Briefing::Inputs>;
    const Result<QList<Listed>> listed = listSnapshots(db, allianceId);
    if (!listed)
        return Loaded::failure(listed.error);
    Briefing::Inputs inputs;
    inputs.today = today;
    bool haveMembers = false;
    // The readings with points taken on or before the ends of those days.
    const QDateTime weekAgo(today.addDays(-6), QTime(0, 0));
    const QDateTime monthAgo(today.addDays(-27), QTime(0, 0));
    bool haveWeek = false;
    bool haveMonth = false;
    const QString meritPrefix = History::rankingDetail(QStringLiteral("戦功"), 0).section(u'/', 0, 0) + u'/';
    for (const Listed &entry : listed.value) {
        if (History::readsWholeMembership(entry.command))
            inputs.firstRoster = entry.takenAt.date(); // the last met is the oldest
        const bool memberValues = History::readsMemberValues(entry.command);
        const bool replies =
            entry.command == History::Kinds::replies.key && inputs.replyChecks.size() < circulars;
        const bool merit = entry.command == History::Kinds::ranking.key &&
                           entry.detail.startsWith(meritPrefix) &&
                           inputs.meritRankings.size() < kMeritRankingsRead;
        const bool pointsWanted = entry.mayHavePoints && ((!haveWeek && entry.takenAt < weekAgo) ||
                                                          (!haveMonth && entry.takenAt < monthAgo));
        const bool wanted = (memberValues && (!haveMembers || pointsWanted)) || replies || merit;
        if (!wanted)
            continue;
        const Result<Snapshot> read = withMembers(db, entry);
        if (!read)
            return Loaded::failure(read.error);
        const Snapshot &snapshot = read.value;
        if (replies)
            inputs.replyChecks << snapshot;
        if (merit)
            inputs.meritRankings << snapshot;
        if (!memberValues)
            continue;
        if (!haveMembers) {
            inputs.members = snapshot.members;
            haveMembers = true;
        }
        if (!haveWeek && entry.takenAt < weekAgo && hasPoints(snapshot)) {
            inputs.points7DaysAgo = snapshot.members;
            haveWeek = true;
        }
        if (!haveMonth && entry.takenAt < monthAgo && hasPoints(snapshot)) {
            inputs.points28DaysAgo = snapshot.members;
            haveMonth = true;
        }
    }
    return {true, {}, inputs};
}

} // namespace BriefingSql
