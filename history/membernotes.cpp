#include "history/membernotes.h"

#include "history/historysql.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

using namespace HistorySql;

namespace {

QString keyOf(const MemberNote &note)
{
    return note.userId.isEmpty() ? QStringLiteral("name:") + note.name : QStringLiteral("id:") + note.userId;
}

} // namespace

namespace MemberNotes {

QStringList schema()
{
    return {QStringLiteral("CREATE TABLE member_note ("
                           " alliance_id TEXT NOT NULL,"
                           " member_key TEXT NOT NULL,"
                           " user_id TEXT,"
                           " name TEXT NOT NULL,"
                           " note TEXT NOT NULL,"
                           " leave_until TEXT,"
                           " PRIMARY KEY (alliance_id, member_key))")};
}

Result<> write(QSqlDatabase &db, const QString &allianceId, const MemberNote &note)
{
    QSqlQuery query(db);
    const bool removing = note.note.trimmed().isEmpty() && !note.leaveUntil.isValid();
    query.prepare(
        removing ? QStringLiteral("DELETE FROM member_note WHERE alliance_id = ? AND member_key = ?")
                 : QStringLiteral("INSERT OR REPLACE INTO member_note (alliance_id, member_key, user_id, "
                                  "name, note, leave_until) VALUES (?, ?, ?, ?, ?, ?)"));
    query.addBindValue(text(allianceId));
    query.addBindValue(keyOf(note));
    if (!removing) {
        query.addBindValue(note.userId.isEmpty() ? QVariant() : QVariant(note.userId));
        query.addBindValue(text(note.name));
        query.addBindValue(text(note.note));
        query.addBindValue(note.leaveUntil.isValid() ? QVariant(note.leaveUntil.toString(Qt::ISODate))
                                                     : QVariant());
    }
    if (!query.exec())
        return Result<>::failure(reasonFor(query.lastError()));
    return {};
}

Result<QList<MemberNote>> read(QSqlDatabase &db, const QString &allianceId)
{
    using Read = Result<QList<MemberNote>>;
    if (!hasRunColumns(db))
        return {};
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT user_id, name, note, leave_until FROM member_note WHERE alliance_id = ?"
                       " ORDER BY name, member_key"));
    query.addBindValue(text(allianceId));
    if (!query.exec())
        return Read::failure(reasonFor(query.lastError()));
    Read found;
    while (query.next())
        found.value << MemberNote{query.value(0).toString(), query.value(1).toString(),
                                  query.value(2).toString(),
                                  QDate::fromString(query.value(3).toString(), Qt::ISODate)};
    if (query.lastError().isValid())
        return Read::failure(reasonFor(query.lastError()));
    return found;
}

} // namespace MemberNotes
