#include "alliance/memberwalk.h"

#include "alliance/toolport.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/session.h"

MemberWalk::MemberWalk(CommandContext &context, QString progressLabel)
    : m_context(context), m_walk(context, std::move(progressLabel))
{
}

QList<Member> MemberWalk::readMembers(const QString &allianceId)
{
    m_context.navigator.waitForPage(m_context.session.world.allianceInfoUrl(allianceId));
    QString collected;
    QList<Member> members;
    try {
        members = ReadMemberTable(m_context.browsers.current().document(), &collected);
    } catch (...) {
        m_context.port.setClipboardText(collected);
        throw;
    }
    m_context.port.setClipboardText(collected);
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
