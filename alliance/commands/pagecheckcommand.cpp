#include "alliance/commands/pagecheckcommand.h"

#include "alliance/rules/rankingarchive.h"
#include "alliance/rules/rankingpage.h"
#include "alliance/rules/replychecker.h"
#include "alliance/walk/pagewalk.h"
#include "alliance/walk/toolport.h"
#include "common/clock.h"
#include "common/readfailure.h"
#include "site/document.h"
#include "site/gamepage.h"
#include "site/membertable.h"
#include "site/profilereaders.h"
#include "site/session.h"

#include <functional>

using PageMark::Family;
using PageMark::Read;

namespace {

struct PageCheck
{
    WalkPage page;
    std::function<Read(const Document &)> read;
};

Read profileRead(const Document &page)
{
    if (!homeCastleCoordinates(page))
        return Read::lacking(kHomeCastleMark);
    return Read::of(!ReadLordProfile(page).population.isEmpty(), kPopulationMark);
}

Read inboxRead(const Document &page)
{
    const ReplyChecker::InboxPage read =
        ReplyChecker::readInboxPage(page.bodyText(), ReplyChecker::InboxPageKind::First);
    if (!read.isGamePage)
        return Read::lacking(GamePage::kMenuLineMark);
    // An inbox without letters shows no table, and reads.
    return Read::of(!read.tableMadeOtherwise, ReplyChecker::kLetterTableMark);
}

Read letterRead(const Document &page)
{
    // The fields are all the composer needs of the page.
    const QString missing = LetterPage::missingField(page);
    return Read::of(missing.isEmpty(), missing);
}

// The profile's address is the first member's, known once the alliance
// page is read: it is handed to firstMember.
QList<PageCheck> checks(Session &session, const std::function<void(const QString &)> &firstMember)
{
    const WorldConfig &world = session.world;
    const QString own = session.cleanAllianceId();
    QList<PageCheck> list{
        {{QString(), PageMark::familyName(Family::Profile), Family::Profile}, profileRead},
        {{world.allianceInfoUrl(own), PageMark::familyName(Family::Alliance), Family::Alliance},
         [firstMember](const Document &page) {
             firstMember(ReadMemberTable(page).value(0).userId);
             return Read::done();
         }},
    };
    for (int category = 0; category < RankingArchive::kCategoryCount; ++category) {
        // The first page of every category has ranked lords, so a page
        // without the table is never one past the last.
        list.append(
            {{world.warRankingUrl(category, 1),
              QStringLiteral("%1（%2）")
                  .arg(PageMark::familyName(Family::Ranking), RankingArchive::categoryCaption(category)),
              Family::Ranking},
             [own, category](const Document &page) {
                 const RankingPageRead read = readRankingPage(page, own, category);
                 return Read::of(read.missing.isEmpty(), read.missing);
             }});
    }
    list.append({{world.inboxUrl(1), PageMark::familyName(Family::Inbox), Family::Inbox}, inboxRead});
    list.append(
        {{world.newLetterUrl(), PageMark::familyName(Family::NewLetter), Family::NewLetter}, letterRead});
    return list;
}

} // namespace

void PageCheckCommand::run()
{
    m_unread = 0;
    m_context.port.setOutputText(QString());
    QString memberId;
    QList<PageCheck> list = checks(m_context.session, [&memberId](const QString &id) { memberId = id; });
    QList<Read> results(list.size());
    // Walks the checks of those indexes; what their pages lacked, explained.
    const auto walkChecks = [&](const QList<qsizetype> &indexes) {
        QList<WalkPage> pages;
        for (const qsizetype i : indexes)
            pages.append(list.at(i).page);
        PageWalk walk(m_context, kLabel);
        walk.run(pages, [&](const Document &page, qsizetype k) {
            Read &result = results[indexes.at(k)];
            try {
                result = list.at(indexes.at(k)).read(page);
            } catch (const ReadFailure &failure) {
                // A mark there but what follows it made otherwise.
                result = Read::lacking(failure.missingMark().isEmpty() ? failure.message()
                                                                       : failure.missingMark());
            }
            return result;
        });
        return walk.explanations();
    };

    // The alliance page first: the profile checked is its first member's.
    constexpr qsizetype kProfile = 0;
    constexpr qsizetype kAlliance = 1;
    QString explanations = walkChecks({kAlliance});
    QList<qsizetype> rest;
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i != kAlliance && (i != kProfile || !memberId.isEmpty()))
            rest.append(i);
    }
    if (!memberId.isEmpty())
        list[kProfile].page.address = m_context.session.world.profileUrl(memberId);
    explanations += walkChecks(rest);

    QString text = kLabel + u' ' + m_clock.dateTimeText() + QStringLiteral("\r\n");
    for (qsizetype i = 0; i < list.size(); ++i) {
        const Read &result = results.at(i);
        QString verdict = result.ok() ? QStringLiteral("読めました")
                                      : QStringLiteral("読めません（%1）").arg(result.missing);
        if (!result.ok())
            ++m_unread;
        // Without a member there is no profile to look at: not checked,
        // which the alliance page's own line already explains.
        if (i == kProfile && memberId.isEmpty())
            verdict = QStringLiteral("点検できませんでした（同盟員の一覧が読めないため）");
        text += list.at(i).page.name + QStringLiteral("：") + verdict + QStringLiteral("\r\n");
    }
    // One empty line between the table and each explanation.
    if (!explanations.isEmpty())
        text += explanations.mid(2) + QStringLiteral("\r\n");
    m_context.port.setOutputText(text);
}
