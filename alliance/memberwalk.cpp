#include "alliance/memberwalk.h"

#include "alliance/toolport.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/session.h"

MemberWalk::MemberWalk(CommandContext &context, QString progressLabel)
    : m_context(context), m_walk(context, std::move(progressLabel))
{
}

QList<Member> MemberWalk::readMembers(const QString &allianceId, MemberTable *table)
{
    m_context.navigator.waitForPage(m_context.session.world.allianceInfoUrl(allianceId));
    MemberTable ownTable;
    MemberTable &read = table ? *table : ownTable;
    QString collected;
    try {
        ReadMemberTable(m_context.browsers.current().document(), read, &collected);
    } catch (...) {
        m_context.port.setClipboardText(collected);
        throw;
    }
    m_context.port.setClipboardText(collected);

    const QStringList names = splitMemberLines(read.names);
    const QStringList ids = splitMemberLines(read.ids);
    QList<Member> members;
    members.reserve(ids.size());
    for (qsizetype i = 0; i < ids.size(); ++i)
        members.append({i < names.size() ? names.at(i) : QString(), ids.at(i)});
    return members;
}

void MemberWalk::visitProfiles(const QList<Member> &members, const PageWalk::Reader &read)
{
    QList<WalkPage> pages;
    pages.reserve(members.size());
    for (const Member &member : members)
        pages.append({m_context.session.world.profileUrl(member.userId), member.name});
    m_walk.run(pages, read);
}
