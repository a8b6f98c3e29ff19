#include "alliance/pagecheckcommand.h"

#include "alliance/pagewalk.h"
#include "alliance/rankingarchive.h"
#include "alliance/rankingpage.h"
#include "alliance/replychecker.h"
#include "alliance/toolport.h"
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

Read allianceRead(const Document &page)
{
    ReadMemberTable(page);
    return Read::done();
}

Read inboxRead(const Document &page)
{
    const ReplyChecker::InboxPage read = ReplyChecker::readInboxPage(page.bodyText(), true);
    if (!read.isGamePage)
        return Read::lacking(GamePage::kMenuLineMark);
    // An empty inbox shows no letter table either: the reader cannot be
    // checked on it, and saying so beats saying it reads.
    return Read::of(read.hasLetterTable, ReplyChecker::kLetterTableMark);
}

Read letterRead(const Document &page)
{
    if (!GamePage::hasMenuLine(page.bodyText()))
        return Read::lacking(GamePage::kMenuLineMark);
    const QString missing = LetterPage::missingField(page);
    return Read::of(missing.isEmpty(), missing);
}

QList<PageCheck> checks(Session &session)
{
    const WorldConfig &world = session.world;
    const QString own = session.cleanAllianceId();
    QList<PageCheck> list{
        {{world.userPageUrl(), PageMark::familyName(Family::Profile), Family::Profile}, profileRead},
        {{world.allianceInfoUrl(own), PageMark::familyName(Family::Alliance), Family::Alliance},
         allianceRead},
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
    const QList<PageCheck> list = checks(m_context.session);
    QList<WalkPage> pages;
    for (const PageCheck &check : list)
        pages.append(check.page);
    QList<Read> results(list.size());
    PageWalk walk(m_context, kLabel);
    walk.run(pages, [&](const Document &page, qsizetype i) {
        try {
            results[i] = list.at(i).read(page);
        } catch (const ReadFailure &failure) {
            // A mark there but what follows it made otherwise.
            results[i] =
                Read::lacking(failure.missingMark().isEmpty() ? failure.message() : failure.missingMark());
        }
        return results.at(i);
    });

    QString text = kLabel + u' ' + m_clock.dateTimeText() + QStringLiteral("\r\n");
    for (qsizetype i = 0; i < list.size(); ++i) {
        const Read &result = results.at(i);
        if (!result.ok())
            ++m_unread;
        text += list.at(i).page.name + QStringLiteral("：") +
                (result.ok() ? QStringLiteral("読めました")
                             : QStringLiteral("読めません（%1）").arg(result.missing)) +
                QStringLiteral("\r\n");
    }
    text += walk.explanations();
    if (m_unread != 0)
        text += QStringLiteral("\r\n");
    m_context.port.setOutputText(text);
}
