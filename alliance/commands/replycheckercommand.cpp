#include "alliance/commands/replycheckercommand.h"

#include "alliance/rules/replychecker.h"
#include "alliance/walk/historyrecorder.h"
#include "alliance/walk/pagewalk.h"
#include "alliance/walk/toolport.h"
#include "common/rosterfile.h"
#include "site/document.h"
#include "site/session.h"

#include <algorithm>
#include <optional>

using namespace ReplyChecker;

namespace {

WalkPage inboxPage(const WorldConfig &world, qint64 page)
{
    return {world.inboxUrl(page), QStringLiteral("受信箱 %1ページ").arg(page), PageMark::Family::Inbox};
}

// What the inbox's first page gave the tally, and what only it tells.
struct FirstPage
{
    bool read = false;
    qint64 pageCount = 1;
    // A first page whose letter table reads otherwise makes every member a
    // non-replier; an inbox without letters is no such page.
    std::optional<Document> withoutTable;
};

// Only the first page tells how many pages there are; without it every
// member would show as not replied, so the user is told and nothing is
// shown.
FirstPage readFirstPage(CommandContext &context, ReplyTally &tally)
{
    FirstPage first;
    PageWalk walk(context, ReplyCheckCommand::kProgressLabel);
    walk.run({inboxPage(context.session.world, 1)}, [&](const Document &page, qsizetype) {
        const InboxPage read = readInboxPage(page.bodyText(), InboxPageKind::First);
        if (read.isGamePage && read.tableMadeOtherwise)
            first.withoutTable = page;
        first.pageCount = read.lastPageLink.value_or(1);
        return tally.addPage(read);
    });
    first.read = walk.leftOut().isEmpty();
    if (!first.read)
        context.port.warn(firstPageUnreadMessage() + walk.explanations());
    return first;
}

} // namespace

void ReplyCheckCommand::run()
{
    // The roster is named after the cleaned id, as the roster command saved
    // it; with a "/" left in the id the roster would never be found.
    const RosterFile::Read roster = RosterFile::read(
        m_context.session.appDir + RosterFile::fileName(m_context.session.cleanAllianceId()));
    if (roster.exists)
        m_context.port.setOutputText(QString());
    if (const QString refusal = rosterRefusal(roster); !refusal.isEmpty()) {
        m_context.port.warn(refusal);
        return;
    }
    ReplyTally tally(RosterFile::names(roster.entries), trimmedKeyword(m_keywordBox));
    const FirstPage first = readFirstPage(m_context, tally);
    if (!first.read)
        return;

    QList<WalkPage> later;
    for (qint64 page = 2; page <= std::min<qint64>(first.pageCount, kMaxInboxPages); ++page)
        later.append(inboxPage(m_context.session.world, page));
    PageWalk walk(m_context, ReplyCheckCommand::kProgressLabel + QStringLiteral("（2ページ目から）"));
    walk.run(later, [&tally](const Document &page, qsizetype) {
        return tally.addPage(readInboxPage(page.bodyText(), InboxPageKind::Later));
    });

    m_context.port.setOutputText(tally.resultText(first.pageCount));
    m_addressees = tally.nonRepliers();
    // Only a check that read every page says who did not answer; the
    // keyword is kept only when one was in force.
    const QString keyword =
        keywordInForce(trimmedKeyword(m_keywordBox)) ? trimmedKeyword(m_keywordBox) : QString();
    if (walk.leftOut().isEmpty() && first.pageCount <= kMaxInboxPages)
        HistoryRecording::recordRun(m_context, kLabel,
                                    HistoryRecording::replySnapshot(m_context.session.allianceId, keyword,
                                                                    RosterFile::names(roster.entries),
                                                                    m_addressees));
    walk.tellLeftOut(laterPagesUnreadIntro());
    if (first.withoutTable)
        tellMissedMark(m_context, letterTableMissedIntro(), PageMark::Family::Inbox, kLetterTableMark,
                       *first.withoutTable);
}
