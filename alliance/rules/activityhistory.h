#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Document;

// A member as the activity history keeps it: the lord name and the alliance
// points as the alliance page shows them, and the day the points were last
// seen to change (or the member was first recorded). Dates are text, never
// parsed.
struct ActivityRecord
{
    QString name;
    QString points;
    QString date;
    // The member's user id as the row's link has it; not kept in the file,
    // which only the history of readings needs it for.
    QString userId = {};

    bool operator==(const ActivityRecord &) const = default;
};

namespace ActivityHistory {

// "同盟ポイントDATA_<allianceId>.txt", the bare name in AppDir.
QString fileName(const QString &allianceId);

// The member rows of the alliance page as this command searches them: the
// page's markup without double quotes, from the first row marker (letter
// case ignored) up to and including the "<" of the table's end. Empty when
// the page has no row marker or the table's end is missing after it.
QString memberRowsMarkup(const Document &alliancePage);
// The same, with the mark the page lacked when the markup is empty.
struct MemberRows
{
    QString markup;
    QString missing;
};
MemberRows memberRows(const Document &alliancePage);

// Every member row of that markup, in page order: name, points and user id,
// no date. A list without any member throws ReadFailure: written back, it
// would wipe every member's date.
// A row without its member link or its points cell throws ReadFailure.
QList<ActivityRecord> readMemberRows(const QString &rowsMarkup);

// The history file as the previous run left it. A file that exists but
// cannot be read is not a first run: taken for one, it would replace every
// member's date with today's.
struct PreviousRun
{
    bool firstRun = true;
    bool ok = true;
    QString error;
    QList<ActivityRecord> records;
};
PreviousRun readPreviousRun(const QString &path);

// The history file's lines, in file order. Lines that cannot be a record
// are skipped.
QList<ActivityRecord> parseHistory(const QStringList &lines);
// One line per record: name%points%date.
QStringList formatHistory(const QList<ActivityRecord> &records);

// The current members with their dates: a member whose points are those of
// the first previous record of the same name keeps that record's date; any
// other member is dated today.
QList<ActivityRecord> dateMembers(const QList<ActivityRecord> &current, const QList<ActivityRecord> &previous,
                                  const QString &today);

// What the command tells the user (title 「同盟員活動状況」).
namespace Messages {
QString pageWithoutMembers(int loads);
// The progress of the alliance page's load-th load of loads without its member list.
QString waitingForMembers(int load, int loads);
QString unreadableRecord(const QString &error);
QString firstRunUnsaved(const QString &error);
QString firstRun();
QString allActive();
QString unsaved(const QString &error);
} // namespace Messages

// The members not dated today, in order: "name<<points<<date".
QStringList inactiveLines(const QList<ActivityRecord> &dated, const QString &today);
// The names of the members not dated today, in the same order.
QStringList inactiveNames(const QList<ActivityRecord> &dated, const QString &today);
// The report of Text1 on the inactive lines.
QString inactiveReport(const QStringList &lines);

} // namespace ActivityHistory
