#pragma once

#include "common/rosterfile.h"
#include "site/pagemark.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

// The reply checker's rules: which members the roster names, what an inbox
// page holds, who sent a letter row, and the result text of repliers and
// non-repliers. Pure: no browser, no window, no files.
namespace ReplyChecker {

// Letters of the game's operator never make a replier.
inline const QString kOperatorName = QStringLiteral("戦国OVEK運営チーム");
// The keyword box's own text: left as it is, no keyword is in force.
inline const QString kKeywordPlaceholder = QStringLiteral("キーワード");
// Inbox pages read per run, whatever the pager says.
inline constexpr int kMaxInboxPages = 10;

// The keyword box's text with blanks at both ends removed (the window shows
// it so), and whether that text is a keyword in force.
QString trimmedKeyword(const QString &keywordBox);
bool keywordInForce(const QString &trimmedKeyword);

// The header of the letter table, as the user is told it is missing.
inline const QString kLetterTableMark = QStringLiteral("書状の表の見出し「選択件名送信者日付ロック」");

// What one inbox page's body text holds.
struct InboxPage
{
    // The game's menu line was there: the page is the inbox, with letters
    // or without. A page without it is something else, worth loading again.
    bool isGamePage = false;
    bool hasLetterTable = false; // the table header was there
    // No table header, but a line naming the subject and date columns: a
    // letter table whose header reads otherwise, not an empty inbox.
    bool tableMadeOtherwise = false;
    QStringList letterRows; // the rows after the header, up to the pager, trimmed
    // The number of the last page link of the first page's pager; none when
    // the page has no pager leading on (a one-page inbox).
    std::optional<qint64> lastPageLink;
};
// Only the first page of the inbox tells how many pages there are.
enum class InboxPageKind { First, Later };
InboxPage readInboxPage(const QString &bodyText, InboxPageKind kind);

// "※受信箱の 11 ページ目以降は読んでいません" when the pager shows more pages
// than are read; empty otherwise.
QString unreadPagesNote(qint64 pageCount);

// Why the check cannot start from the roster file as read: none made yet,
// or unreadable; empty when it read.
QString rosterRefusal(const RosterFile::Read &roster);

// The messages of a check whose inbox pages did not all read; the walk's
// explanations follow each.
QString firstPageUnreadMessage();
QString laterPagesUnreadIntro();
QString letterTableMissedIntro();

// The page count a first page's pager line ("1 2 3 ＞  >>") gives: the whole
// number the text before "＞" ends with; 0 when it ends with no number.
qint64 pageCountOfPager(const QString &pagerLine);

// Collects the senders of letter rows and writes the result text.
class ReplyTally
{
public:
    ReplyTally(QStringList members, const QString &trimmedKeyword);

    // One letter row of the inbox, trimmed. A row that counts adds its
    // sender once, in the order first met.
    void addRow(const QString &row);
    // Every letter row of a page read; a page that is no game page has not
    // come yet and lacks the menu line.
    PageMark::Read addPage(const InboxPage &page);

    // The sender of a row; empty when the row has no sender field.
    QString senderOf(const QString &row) const;

    const QStringList &repliers() const { return m_repliers; }
    // The members who did not reply, each once, in roster order.
    QStringList nonRepliers() const;

    // "★返信者リスト", the repliers, an empty line, "★未返信者リスト" and the
    // members who did not reply in roster order, every line ended by CR LF.
    QString resultText() const;
    // The result followed by unreadPagesNote's line when the pager showed
    // more pages than were read: a member who answered there shows as not
    // replied, and the output says so itself.
    QString resultText(qint64 pageCount) const;

private:
    QStringList m_members;
    QSet<QString> m_memberSet;
    QString m_keyword; // empty: none in force
    QStringList m_repliers;
    QSet<QString> m_listed;
};

} // namespace ReplyChecker
