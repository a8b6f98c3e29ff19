#include "history/historysql.h"

#include "history/historytrends.h"

#include <QSqlError>

namespace HistorySql {

// SQLite's primary result codes, as the driver reports them.
QString reasonFor(const QSqlError &error)
{
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric) & 0xff;
    if (numeric) {
        switch (code) {
        case 5: // SQLITE_BUSY
        case 6: // SQLITE_LOCKED
            return QStringLiteral("履歴ファイルを別の処理が使用中です");
        case 8: // SQLITE_READONLY
            return QStringLiteral("履歴ファイルに書き込めません");
        case 11: // SQLITE_CORRUPT
        case 26: // SQLITE_NOTADB
            return QStringLiteral("履歴ファイルが壊れています");
        case 13: // SQLITE_FULL
            return QStringLiteral("ディスクの空きが足りません");
        case 14: // SQLITE_CANTOPEN
            return QStringLiteral("履歴ファイルを開けません");
        case 10: // SQLITE_IOERR
            return QStringLiteral("履歴ファイルの読み書きに失敗しました");
        case 19: // SQLITE_CONSTRAINT
            return QStringLiteral("記録する内容に重複があります");
        default:
            break;
        }
    }
    return QStringLiteral("履歴ファイルの操作に失敗しました: %1").arg(error.text());
}

// One statement; empty when it ran, else the reason.
QString run(QSqlQuery &query, const QString &statement)
{
    if (query.exec(statement))
        return {};
    return reasonFor(query.lastError());
}

// The moment with its offset from UTC, so the text orders by time and reads
// back as the same local date.
QString isoText(const QDateTime &moment)
{
    return moment.toOffsetFromUtc(moment.offsetFromUtc()).toString(Qt::ISODate);
}

// The driver binds a null QString as SQL NULL; text columns that are never
// NULL get an empty text instead.
QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

std::optional<int> optionalInt(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toInt();
}

std::optional<qint64> optionalInt64(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toLongLong();
}

MemberReading readingAt(const QSqlQuery &query, int first)
{
    MemberReading reading;
    reading.position = query.value(first).toInt();
    reading.userId = query.value(first + 1).toString();
    reading.name = query.value(first + 2).toString();
    reading.x = optionalInt(query.value(first + 3));
    reading.y = optionalInt(query.value(first + 4));
    reading.points = optionalInt64(query.value(first + 5));
    reading.population = optionalInt64(query.value(first + 6));
    reading.merit = optionalInt64(query.value(first + 7));
    if (!query.value(first + 8).isNull())
        reading.role = query.value(first + 8).toString();
    reading.fiefCount = optionalInt(query.value(first + 9));
    if (!query.value(first + 10).isNull())
        reading.replied = query.value(first + 10).toInt() != 0;
    reading.rank = optionalInt64(query.value(first + 11));
    reading.score = optionalInt64(query.value(first + 12));
    return reading;
}

QString utcKey(const QDateTime &moment)
{
    return moment.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
}

bool hasRunColumns(QSqlDatabase &db)
{
    QSqlQuery query(db);
    return query.exec(
               QStringLiteral("SELECT 1 FROM pragma_table_info('member_reading') WHERE name = 'replied'")) &&
           query.next();
}

QString readingColumns(QSqlDatabase &db)
{
    return QStringLiteral("m.position, m.user_id, m.name, m.x, m.y, m.points, m.population, m.merit, m.role, "
                          "m.fief_count, ") +
           (hasRunColumns(db) ? QStringLiteral("m.replied, m.rank, m.score")
                              : QStringLiteral("NULL, NULL, NULL"));
}

Result<QList<MemberReading>> loadMembers(QSqlDatabase &db, qint64 snapshotId)
{
    using Loaded = Result<QList<MemberReading>>;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT %1 FROM member_reading m WHERE m.snapshot_id = ? ORDER BY m.position")
            .arg(readingColumns(db)));
    query.addBindValue(snapshotId);
    if (!query.exec())
        return Loaded::failure(reasonFor(query.lastError()));
    Loaded loaded;
    while (query.next())
        loaded.value << readingAt(query, 0);
    if (query.lastError().isValid())
        return Loaded::failure(reasonFor(query.lastError()));
    return loaded;
}

Result<QList<Snapshot>> loadSnapshots(QSqlDatabase &db, const QString &allianceId, const QString &command)
{
    using Loaded = Result<QList<Snapshot>>;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT s.id, s.taken_at, s.command, %1, %2 FROM snapshot s"
                                 " LEFT JOIN member_reading m ON m.snapshot_id = s.id"
                                 " WHERE s.alliance_id = ?%3"
                                 " ORDER BY s.id, m.position")
                      .arg(hasRunColumns(db) ? QStringLiteral("s.detail") : QStringLiteral("NULL"),
                           readingColumns(db),
                           command.isEmpty() ? QString() : QStringLiteral(" AND s.command = ?")));
    query.addBindValue(text(allianceId));
    if (!command.isEmpty())
        query.addBindValue(command);
    if (!query.exec())
        return Loaded::failure(reasonFor(query.lastError()));
    QList<Snapshot> found;
    while (query.next()) {
        const qint64 id = query.value(0).toLongLong();
        if (found.isEmpty() || found.last().id != id) {
            Snapshot snapshot;
            snapshot.id = id;
            snapshot.takenAt = QDateTime::fromString(query.value(1).toString(), Qt::ISODate);
            snapshot.command = query.value(2).toString();
            snapshot.allianceId = allianceId;
            snapshot.detail = query.value(3).toString();
            found << snapshot;
        }
        // A snapshot of an empty member list has one row of NULL columns.
        if (!query.value(6).isNull())
            found.last().members << readingAt(query, 4);
    }
    if (query.lastError().isValid())
        return Loaded::failure(reasonFor(query.lastError()));
    return Loaded{true, {}, HistoryTrends::inTimeOrder(found)};
}

} // namespace HistorySql
