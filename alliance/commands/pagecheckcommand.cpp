#include "alliance/commands/pagecheckcommand.h"

#include "alliance/rules/pagechecks.h"
#include "alliance/walk/pagewalk.h"
#include "alliance/walk/toolport.h"
#include "common/clock.h"
#include "common/readfailure.h"
#include "site/document.h"
#include "site/membertable.h"
#include "site/session.h"

#include <algorithm>

using PageChecks::Check;
using PageChecks::Verdict;
using PageMark::Family;
using PageMark::Read;

PageCheckCommand::Walked PageCheckCommand::walkChecks(const QList<Check> &checks)
{
    Walked walked;
    QList<WalkPage> pages;
    for (const Check &check : checks) {
        pages.append({check.address, check.name, check.family});
        walked.verdicts.append({check.name, Read::done()});
    }
    PageWalk walk(m_context, kLabel);
    walk.run(pages, [&](const Document &page, qsizetype k) {
        Read &read = walked.verdicts[k].read;
        try {
            read = checks.at(k).read(page);
        } catch (const ReadFailure &failure) {
            read = PageChecks::failed(failure);
        }
        return read;
    });
    walked.explanations = walk.explanations();
    return walked;
}

void PageCheckCommand::run()
{
    m_context.port.setOutputText(QString());
    const WorldConfig &world = m_context.session.world;
    const QString own = m_context.session.cleanAllianceId();
    // The alliance page first: the profile checked is its first member's.
    QString memberId;
    const Check alliance{world.allianceInfoUrl(own), PageMark::familyName(Family::Alliance), Family::Alliance,
                         [&memberId](const Document &page) {
                             memberId = ReadMemberTable(page).value(0).userId;
                             return Read::done();
                         }};
    const Walked first = walkChecks({alliance});
    const Walked rest = walkChecks(PageChecks::checksAfterAlliance(world, own, memberId));
    QList<Verdict> verdicts = rest.verdicts;
    if (memberId.isEmpty())
        verdicts.prepend({PageMark::familyName(Family::Profile), Read::done(), false});
    verdicts.insert(1, first.verdicts.constFirst());

    m_unread =
        std::count_if(verdicts.cbegin(), verdicts.cend(), [](const Verdict &v) { return !v.read.ok(); });
    m_context.port.setOutputText(PageChecks::table(kLabel + u' ' + m_clock.dateTimeText(), verdicts,
                                                   first.explanations + rest.explanations));
}
