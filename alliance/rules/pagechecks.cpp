#include "alliance/rules/pagechecks.h"

#include "alliance/rules/rankingarchive.h"
#include "alliance/rules/rankingpage.h"
#include "alliance/rules/replychecker.h"
#include "common/readfailure.h"
#include "site/document.h"
#include "site/gamepage.h"
#include "site/profilereaders.h"
#include "site/worldconfig.h"

using PageMark::Read;

namespace PageChecks {

Read profile(const Document &page)
{
    if (!homeCastleCoordinates(page))
        return Read::lacking(kHomeCastleMark);
    return Read::of(!ReadLordProfile(page).population.isEmpty(), kPopulationMark);
}

Read ranking(const Document &page, const QString &allianceId, int category)
{
    const RankingPageRead read = readRankingPage(page, allianceId, category);
    return Read::of(read.missing.isEmpty(), read.missing);
}

Read inbox(const Document &page)
{
    const ReplyChecker::InboxPage read =
        ReplyChecker::readInboxPage(page.bodyText(), ReplyChecker::InboxPageKind::First);
    if (!read.isGamePage)
        return Read::lacking(GamePage::kMenuLineMark);
    // An inbox without letters shows no table, and reads.
    return Read::of(!read.tableMadeOtherwise, ReplyChecker::kLetterTableMark);
}

Read letter(const Document &page)
{
    // The fields are all the composer needs of the page.
    const QString missing = LetterPage::missingField(page);
    return Read::of(missing.isEmpty(), missing);
}

Read failed(const ReadFailure &failure)
{
    return Read::lacking(failure.missingMark().isEmpty() ? failure.message() : failure.missingMark());
}

QList<Check> checksAfterAlliance(const WorldConfig &world, const QString &allianceId, const QString &memberId)
{
    using PageMark::Family;
    QList<Check> list;
    if (!memberId.isEmpty())
        list.append(
            {world.profileUrl(memberId), PageMark::familyName(Family::Profile), Family::Profile, profile});
    // The first page of every category has ranked lords, so a page without
    // the table is never one past the last.
    for (int category = 0; category < RankingArchive::kCategoryCount; ++category) {
        list.append(
            {world.warRankingUrl(category, 1),
             QStringLiteral("%1（%2）")
                 .arg(PageMark::familyName(Family::Ranking), RankingArchive::categoryCaption(category)),
             Family::Ranking,
             [allianceId, category](const Document &page) { return ranking(page, allianceId, category); }});
    }
    list.append({world.inboxUrl(1), PageMark::familyName(Family::Inbox), Family::Inbox, inbox});
    list.append({world.newLetterUrl(), PageMark::familyName(Family::NewLetter), Family::NewLetter, letter});
    return list;
}

QString table(const QString &heading, const QList<Verdict> &verdicts, const QString &explanations)
{
    QString text = heading + QStringLiteral("\r\n");
    for (const Verdict &verdict : verdicts) {
        QString said = verdict.read.ok() ? QStringLiteral("読めました")
                                         : QStringLiteral("読めません（%1）").arg(verdict.read.missing);
        // Not checked is explained by the alliance page's own line.
        if (!verdict.checked)
            said = QStringLiteral("点検できませんでした（同盟員の一覧が読めないため）");
        text += verdict.pageName + QStringLiteral("：") + said + QStringLiteral("\r\n");
    }
    // One empty line between the table and each explanation.
    if (!explanations.isEmpty())
        text += explanations.mid(2) + QStringLiteral("\r\n");
    return text;
}

} // namespace PageChecks
