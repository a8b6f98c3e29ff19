#include "alliance/commands/replycheckercommand.h"

#include "alliance/rules/replychecker.h"
#include "alliance/walk/pagewalk.h"
#include "alliance/walk/toolport.h"
#include "common/rosterfile.h"
#include "site/document.h"
#include "site/gamepage.h"
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

// A page that is no game page has not come yet: the walk loads it again.
// The inbox without its letter table is an empty inbox. Only the first
// page tells how many pages there are; without it every member would show
// as not replied, so the user is told and nothing is shown.
FirstPage readFirstPage(CommandContext &context, ReplyTally &tally)
{
    FirstPage first;
    PageWalk walk(context, ReplyCheckCommand::kProgressLabel);
    walk.run({inboxPage(context.session.world, 1)}, [&](const Document &page, qsizetype) {
        const InboxPage read = readInboxPage(page.bodyText(), InboxPageKind::First);
        if (!read.isGamePage)
            return PageMark::Read::lacking(GamePage::kMenuLineMark);
        if (read.tableMadeOtherwise)
            first.withoutTable = page;
        first.pageCount = read.lastPageLink.value_or(1);
        for (const QString &row : read.letterRows)
            tally.addRow(row);
        return PageMark::Read::done();
    });
    first.read = walk.leftOut().isEmpty();
    if (!first.read)
        context.port.warn(QStringLiteral("受信箱を読み込めませんでした。\r\n"
                                         "時間をおいて、もう一度「返信者リストアップ」を実行"
                                         "してください。") +
                          walk.explanations());
    return first;
}

} // namespace

void ReplyCheckCommand::run()
{
    // The roster is named after the cleaned id, as the roster command saved
    // it; with a "/" left in the id the roster would never be found.
    const RosterFile::Read roster = RosterFile::read(
        m_context.session.appDir + RosterFile::fileName(m_context.session.cleanAllianceId()));
    if (!roster.exists) {
        m_context.port.warn(QStringLiteral("同盟員名簿が作成されていません。"));
        return;
    }
    m_context.port.setOutputText(QString());
    if (!roster.ok) {
        m_context.port.warn(QStringLiteral("同盟員名簿を読み込めませんでした。\r\n") + roster.error);
        return;
    }
    ReplyTally tally(RosterFile::names(roster.entries), trimmedKeyword(m_keywordBox));

    const FirstPage first = readFirstPage(m_context, tally);
    if (!first.read)
        return;
    const qint64 pageCount = first.pageCount;

    QList<WalkPage> later;
    for (qint64 page = 2; page <= std::min<qint64>(pageCount, kMaxInboxPages); ++page)
        later.append(inboxPage(m_context.session.world, page));
    PageWalk walk(m_context, ReplyCheckCommand::kProgressLabel + QStringLiteral("（2ページ目から）"));
    walk.run(later, [&](const Document &page, qsizetype) {
        const InboxPage read = readInboxPage(page.bodyText(), InboxPageKind::Later);
        if (!read.isGamePage)
            return PageMark::Read::lacking(GamePage::kMenuLineMark);
        for (const QString &row : read.letterRows)
            tally.addRow(row);
        return PageMark::Read::done();
    });

    // A member who answered on a page not read shows as not replied: the
    // output says so itself.
    QString result = tally.resultText();
    if (const QString note = unreadPagesNote(pageCount); !note.isEmpty())
        result += note + QStringLiteral("\r\n");
    m_context.port.setOutputText(result);
    m_addressees = tally.nonRepliers();
    walk.tellLeftOut(QStringLiteral("次の受信箱のページを読み込めませんでした。"
                                    "これらのページの書状は返信者リストに入っていません。"));
    if (first.withoutTable) {
        tellMissedMark(m_context,
                       QStringLiteral("受信箱の書状の表を読めなかったため、全員を未返信者としました。"),
                       PageMark::Family::Inbox, kLetterTableMark, *first.withoutTable);
    }
}
