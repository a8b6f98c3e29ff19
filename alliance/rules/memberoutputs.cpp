#include "alliance/rules/memberoutputs.h"

#include "common/rosterfile.h"

PreviousRoster PreviousRoster::fromEntries(const QList<RosterFile::Entry> &entries)
{
    PreviousRoster roster;
    // The first line of a name counts, as in every other reader's use.
    for (const RosterFile::Entry &entry : entries) {
        if (!roster.m_lines.contains(entry.name))
            roster.m_lines.insert(entry.name, entry.line + QStringLiteral("\r\n"));
    }
    return roster;
}

std::optional<QString> PreviousRoster::lineOf(const QString &name) const
{
    const auto found = m_lines.constFind(name);
    if (found == m_lines.constEnd())
        return std::nullopt;
    return *found;
}

namespace UnreadMembers {

QString noteLine(const QString &what, const QStringList &names)
{
    if (names.isEmpty())
        return QString();
    // Names listed as a Japanese sentence lists them.
    return QStringLiteral("※") + what + QStringLiteral(": ") + names.join(u'、');
}

QString unreadProfilesLine(const QStringList &names)
{
    return noteLine(QStringLiteral("プロフィールを読めなかった同盟員"), names);
}

QString rosterMessage(const QStringList &carriedOver, const QStringList &leftOut)
{
    QString text = QStringLiteral("次の同盟員は、本拠地の座標を読めませんでした。\r\n");
    if (!carriedOver.isEmpty())
        text += QStringLiteral("\r\n前回の名簿の座標をそのまま使いました：\r\n") +
                carriedOver.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    if (!leftOut.isEmpty())
        text += QStringLiteral("\r\n前回の名簿にもいないため、名簿に入っていません：\r\n") +
                leftOut.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    text += QStringLiteral("\r\n時間をおいて、もう一度「同盟名簿作成」を実行してください。");
    return text;
}

} // namespace UnreadMembers

namespace MemberOutputs {

Roster roster(const QList<Member> &members, const QList<std::optional<QString>> &coordinates,
              const std::function<PreviousRoster()> &previous)
{
    // A member whose profile never showed the home castle keeps the line of
    // the previous roster; only a member that roster does not know is left out.
    Roster made;
    std::optional<PreviousRoster> former;
    QStringList lines;
    for (qsizetype i = 0; i < members.size(); ++i) {
        const QString &name = members.at(i).name;
        if (coordinates.at(i)) {
            lines.append(RosterFile::line(name, *coordinates.at(i)));
            continue;
        }
        if (!former)
            former = previous();
        if (const std::optional<QString> kept = former->lineOf(name)) {
            lines.append(*kept);
            made.carriedOver.append(name);
        } else {
            made.leftOut.append(name);
        }
    }
    made.text = RosterFile::text(lines);
    return made;
}

QString rosterUnsaved(const QString &error)
{
    return QStringLiteral("同盟員名簿を保存できませんでした。前回の名簿はそのまま残っています。\r\n") + error;
}

QStringList reportListItems(const QList<Member> &members)
{
    QStringList names;
    names.reserve(members.size());
    for (const Member &member : members)
        names.append(member.name + QStringLiteral("/"));
    return names;
}

AllianceReport report(const QList<Member> &members, const QList<std::optional<LordProfile>> &profiles,
                      qint64 populationStep, qint64 meritStep)
{
    AllianceReport report(populationStep, meritStep);
    for (qsizetype i = 0; i < members.size(); ++i) {
        if (profiles.at(i))
            report.addMember(members.at(i).name, *profiles.at(i));
    }
    for (qsizetype i = 0; i < members.size(); ++i) {
        if (!profiles.at(i))
            report.addUnreadMember(members.at(i).name, members.at(i).tableRole());
        report.addFiefCount(members.at(i).fiefCount());
    }
    return report;
}

CastleList castles(const QList<Member> &members, const QList<BranchCastles::ProfileCastle> &reads,
                   const QString &creationLine)
{
    using Kind = BranchCastles::ProfileCastle::Kind;
    CastleList made;
    // No fixed limit on the number of castles: an alliance of any size is listed whole.
    QList<BranchCastles::BranchCastle> found;
    for (qsizetype i = 0; i < members.size(); ++i) {
        const BranchCastles::ProfileCastle &read = reads.at(i);
        switch (read.kind) {
        case Kind::NotLoaded:
            made.leftOut.append(members.at(i).name);
            break;
        case Kind::None:
            break;
        case Kind::Unreadable:
            // A castle without readable coordinates cannot be put near a
            // fort: the member is left out and named.
            made.unreadable.append(members.at(i).name);
            break;
        case Kind::Castle:
            found.append({members.at(i).name, read.name, read.coordinateText, read.x, read.y});
            break;
        }
    }
    // The list is what leaders post: it names whoever it leaves out itself,
    // not only the message box that is gone once closed.
    QStringList notes;
    if (!made.leftOut.isEmpty())
        notes.append(UnreadMembers::unreadProfilesLine(made.leftOut));
    if (!made.unreadable.isEmpty())
        notes.append(
            UnreadMembers::noteLine(QStringLiteral("出城の座標を読めなかった同盟員"), made.unreadable));
    made.text = BranchCastles::castleListText(found, creationLine, notes);
    return made;
}

} // namespace MemberOutputs
