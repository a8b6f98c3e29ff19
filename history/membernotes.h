#pragma once

#include "common/result.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// What the leader notes of a member, kept in the history beside the
// readings: a text (「12/20まで旅行」) and the day the member is on leave
// until, if any. A member is known by its user id, or by its name where the
// readings have no id.
struct MemberNote
{
    QString userId;
    QString name;
    QString note;
    QDate leaveUntil; // invalid: not on leave

    bool operator==(const MemberNote &) const = default;
};

namespace MemberNotes {

QStringList schema();
// Replaces the member's note; an empty text without a leave day removes it.
Result<> write(QSqlDatabase &db, const QString &allianceId, const MemberNote &note);
// Every note of the alliance, by name. A file of before the notes has none.
Result<QList<MemberNote>> read(QSqlDatabase &db, const QString &allianceId);

} // namespace MemberNotes
