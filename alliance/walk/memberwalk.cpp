#include "alliance/walk/memberwalk.h"

#include "alliance/walk/toolport.h"
#include "common/readfailure.h"
#include "site/browserslot.h"
#include "site/document.h"
#include "site/navigator.h"
#include "site/pagekeeper.h"
#include "site/session.h"

MemberWalk::MemberWalk(CommandContext &context, QString progressLabel)
    : m_context(context), m_walk(context, std::move(progressLabel))
{
}

QList<Member> MemberWalk::readMembers(const QString &allianceId)
{
    m_context.navigator.waitForPage(m_context.session.world.allianceInfoUrl(allianceId));
    QList<Member> members;
    const Document page = m_context.browsers.current().document();
    const QString collected = CollectedMarkup(page);
    try {
        members = ReadMemberTable(page);
    } catch (const ReadFailure &failure) {
        m_context.port.setClipboardText(collected);
        if (failure.missingMark().isEmpty())
            throw;
        // Said with what the page looked like, and the page kept.
        throw ReadFailure(
            failure.message() + QStringLiteral("\r\n\r\n") +
                missedMark(m_context.keeper, PageMark::Family::Alliance, failure.missingMark(), page)
                    .explanation(),
            failure.missingMark());
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
        pages.append(
            {m_context.session.world.profileUrl(member.userId), member.name, PageMark::Family::Profile});
    m_walk.run(pages, read);
}
