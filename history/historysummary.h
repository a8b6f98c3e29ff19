#pragma once

#include "common/result.h"
#include "history/historytypes.h"

#include <QDate>
#include <QSqlDatabase>
#include <QStringList>

// What the trends window shows of an alliance, kept up to date as each run
// is recorded: the sums of every snapshot, each member's points state and
// the join/leave log. Opening the window then reads these instead of every
// reading of every run, which for years of daily runs of a large alliance
// would take seconds and grow without end. The writing functions return an
// empty text when they succeeded, else the reason for the user.
namespace HistorySummary {

// The tables, as a step of the schema.
QStringList schema();

// Brings the alliance's summaries up to the snapshot just written with id,
// inside the writer's transaction. A snapshot taken before one already
// recorded (a clock set back) has them made again from every snapshot.
QString record(QSqlDatabase &db, const Snapshot &snapshot, qint64 id);

// Makes every alliance's summaries from its snapshots: once, when a file
// of an earlier version gets the tables.
QString rebuildAll(QSqlDatabase &db);

// What 「推移」 opens with: the sums of every snapshot, the members whose
// points stand still, and the join/leave log.
Result<QList<SnapshotTotals>> totals(QSqlDatabase &db, const QString &allianceId);
Result<QList<IdleMember>> idle(QSqlDatabase &db, const QString &allianceId, const QDate &today);
Result<QStringList> joinLeave(QSqlDatabase &db, const QString &allianceId);

} // namespace HistorySummary
