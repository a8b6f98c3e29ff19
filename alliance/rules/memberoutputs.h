#pragma once

#include "alliance/rules/alliancereport.h"
#include "alliance/rules/branchcastle.h"
#include "common/rosterfile.h"
#include "site/membertable.h"
#include "site/profilereaders.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The roster a former run wrote, line by line, by member name. A member
// whose profile could not be read this time keeps the line of that roster,
// so a passing fault never shrinks a complete roster.
class PreviousRoster
{
public:
    // From the member lines of the roster file.
    static PreviousRoster fromEntries(const QList<RosterFile::Entry> &entries);

    // The member's line as the former run wrote it, with its CR LF.
    std::optional<QString> lineOf(const QString &name) const;

private:
    QHash<QString, QString> m_lines;
};

// The line an output ends or is headed with when it had to leave members out,
// so that a list or report posted to the alliance says who is missing from it
// and the reader does not take a gap for a member without castle or figures.
namespace UnreadMembers {

// "※<what>: name、name"; empty when names is empty.
QString noteLine(const QString &what, const QStringList &names);

// "※プロフィールを読めなかった同盟員: …"
QString unreadProfilesLine(const QStringList &names);

// The roster's message on members whose home castle never showed: those
// that kept the previous roster's line, and those left out.
QString rosterMessage(const QStringList &carriedOver, const QStringList &leftOut);

} // namespace UnreadMembers

// What a walk over the members' profile pages is turned into: the roster,
// the alliance report and the castle list. The single commands and the
// survey that reads each page once for all three hand these the same
// readings, so every output has one set of rules. index i of each list is
// members[i]; nothing read is an empty optional (a castle: NotLoaded).
namespace MemberOutputs {

struct Roster
{
    QString text;
    QStringList carriedOver; // kept the previous roster's line
    QStringList leftOut;     // in no roster
};
// previous is only asked for members whose home castle never showed.
Roster roster(const QList<Member> &members, const QList<std::optional<QString>> &coordinates,
              const std::function<PreviousRoster()> &previous);

AllianceReport report(const QList<Member> &members, const QList<std::optional<LordProfile>> &profiles,
                      qint64 populationStep, qint64 meritStep);

// "同盟員名簿を保存できませんでした。…": the roster file could not be replaced.
QString rosterUnsaved(const QString &error);

// The report's List1: every member's name followed by "/".
QStringList reportListItems(const QList<Member> &members);

struct CastleList
{
    QString text;
    QStringList leftOut;    // the fief section never showed
    QStringList unreadable; // a castle whose name or coordinates cannot be read
};
CastleList castles(const QList<Member> &members, const QList<BranchCastles::ProfileCastle> &reads,
                   const QString &creationLine);

} // namespace MemberOutputs
