#pragma once

#include "alliance/rules/alliancereport.h"
#include "alliance/rules/branchcastle.h"
#include "alliance/rules/previousroster.h"
#include "site/membertable.h"
#include "site/profilereaders.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

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
