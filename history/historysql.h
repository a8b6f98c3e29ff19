#pragma once

#include "common/result.h"
#include "history/historytypes.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <optional>

class QSqlError;

// The pieces every query of the history shares: reasons for the user,
// values in and out of their columns, and the snapshots read back whole.
namespace HistorySql {

QString reasonFor(const QSqlError &error);
// One statement; empty when it ran, else the reason.
QString run(QSqlQuery &query, const QString &statement);

QString isoText(const QDateTime &moment);
// The moment in UTC with milliseconds: texts of it sort as the moments do,
// whatever offset each was taken at.
QString utcKey(const QDateTime &moment);
QVariant text(const QString &value);
template <typename T> QVariant nullable(const std::optional<T> &value)
{
    return value ? QVariant::fromValue(*value) : QVariant();
}
std::optional<int> optionalInt(const QVariant &value);
std::optional<qint64> optionalInt64(const QVariant &value);

// The columns of a member's reading, as db has them: a file of before the
// reply checks and rankings is read with those left empty (a file kept
// read-only is never upgraded).
QString readingColumns(QSqlDatabase &db);
// Whether db holds what reply checks and ranking extractions record.
bool hasRunColumns(QSqlDatabase &db);
// Columns of readingColumns(), from the given index on.
MemberReading readingAt(const QSqlQuery &query, int first);

// One snapshot's member readings, in position order.
Result<QList<MemberReading>> loadMembers(QSqlDatabase &db, qint64 snapshotId);

// The alliance's snapshots in time order, with their members; an empty
// command means every command.
Result<QList<Snapshot>> loadSnapshots(QSqlDatabase &db, const QString &allianceId, const QString &command);

} // namespace HistorySql
