#include "history/runrecords.h"

#include "history/historysql.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

using namespace HistorySql;

namespace {

// Lines are kept one per line of the column: a command's line never holds
// a line break (the run makes them single lines).
const QChar kLineBreak = u'\n';

QString joined(const QStringList &lines)
{
    return lines.join(kLineBreak);
}

QStringList lines(const QVariant &value)
{
    const QString text = value.toString();
    return text.isEmpty() ? QStringList() : text.split(kLineBreak);
}

bool hasRecords(QSqlDatabase &db)
{
    return db.tables().contains(QStringLiteral("run_record"));
}

} // namespace

namespace RunRecords {

QStringList schema()
{
    return {QStringLiteral("CREATE TABLE run_record ("
                           " id INTEGER PRIMARY KEY,"
                           " started_utc TEXT NOT NULL,"
                           " started_at TEXT NOT NULL,"
                           " ended_at TEXT NOT NULL,"
                           " commands TEXT NOT NULL,"
                           " exit_code INTEGER NOT NULL,"
                           " member_count INTEGER,"
                           " results TEXT NOT NULL,"
                           " warnings TEXT NOT NULL)"),
            QStringLiteral("CREATE INDEX run_record_by_start ON run_record (started_utc)")};
}

Result<> write(QSqlDatabase &db, const RunRecord &record)
{
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("INSERT INTO run_record (started_utc, started_at, ended_at, commands, "
                       "exit_code, member_count, results, warnings) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    query.addBindValue(utcKey(record.startedAt));
    query.addBindValue(isoText(record.startedAt));
    query.addBindValue(isoText(record.endedAt));
    query.addBindValue(text(record.commands.join(u',')));
    query.addBindValue(record.exitCode);
    query.addBindValue(record.memberCount >= 0 ? QVariant(record.memberCount) : QVariant());
    query.addBindValue(text(joined(record.results)));
    query.addBindValue(text(joined(record.warnings)));
    if (!query.exec())
        return Result<>::failure(reasonFor(query.lastError()));
    return {};
}

Result<QList<RunRecord>> read(QSqlDatabase &db, int limit)
{
    using Read = Result<QList<RunRecord>>;
    if (!hasRecords(db))
        return {};
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT started_at, ended_at, commands, exit_code, member_count, results, "
                                 "warnings FROM run_record ORDER BY started_utc DESC, id DESC LIMIT ?"));
    query.addBindValue(limit);
    if (!query.exec())
        return Read::failure(reasonFor(query.lastError()));
    Read found;
    while (query.next()) {
        RunRecord record;
        record.startedAt = QDateTime::fromString(query.value(0).toString(), Qt::ISODate);
        record.endedAt = QDateTime::fromString(query.value(1).toString(), Qt::ISODate);
        const QString commands = query.value(2).toString();
        record.commands = commands.isEmpty() ? QStringList() : commands.split(u',');
        record.exitCode = query.value(3).toInt();
        record.memberCount = query.value(4).isNull() ? -1 : query.value(4).toInt();
        record.results = lines(query.value(5));
        record.warnings = lines(query.value(6));
        found.value << record;
    }
    if (query.lastError().isValid())
        return Read::failure(reasonFor(query.lastError()));
    return found;
}

} // namespace RunRecords
