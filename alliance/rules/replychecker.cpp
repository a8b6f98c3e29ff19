#include "alliance/rules/replychecker.h"

#include "common/textsearch.h"
#include "site/gamepage.h"

#include <limits>

using namespace TextSearch;

namespace ReplyChecker {

namespace {

const QString kTableHeader = QStringLiteral("選択件名送信者日付ロック");
const QString kPagerOnward = QStringLiteral("＞  >>");
const QString kPagerBackFirst = QStringLiteral("<<");
const QString kPagerBackOne = QStringLiteral("＜");
const QString kCrLf = QStringLiteral("\r\n");

// A letter row reads "subject sender date time": the date and the time are
// the last two fields.
constexpr qsizetype kFieldsAfterSender = 2;

} // namespace

QString trimmedKeyword(const QString &keywordBox)
{
    return trimSpaces(keywordBox);
}

bool keywordInForce(const QString &trimmedKeyword)
{
    return !trimmedKeyword.isEmpty() && trimmedKeyword != kKeywordPlaceholder;
}

qint64 pageCountOfPager(const QString &pagerLine)
{
    const qsizetype at = findExact(pagerLine, kPagerOnward);
    const QString before = trimSpaces(at > 0 ? pagerLine.left(at - 1) : pagerLine);
    // The whole trailing number, so an inbox of ten pages or more is not
    // taken for one of its last digit's pages.
    qsizetype start = before.size();
    while (start > 0 && before.at(start - 1) >= u'0' && before.at(start - 1) <= u'9')
        --start;
    const QString digits = before.mid(start);
    if (digits.isEmpty())
        return 0;
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    return ok ? value : std::numeric_limits<qint64>::max();
}

QString rosterRefusal(const RosterFile::Read &roster)
{
    if (!roster.exists)
        return QStringLiteral("同盟員名簿が作成されていません。");
    if (!roster.ok)
        return QStringLiteral("同盟員名簿を読み込めませんでした。\r\n") + roster.error;
    return QString();
}

QString firstPageUnreadMessage()
{
    return QStringLiteral("受信箱を読み込めませんでした。\r\n"
                          "時間をおいて、もう一度「返信者リストアップ」を実行してください。");
}

QString laterPagesUnreadIntro()
{
    return QStringLiteral("次の受信箱のページを読み込めませんでした。"
                          "これらのページの書状は返信者リストに入っていません。");
}

QString letterTableMissedIntro()
{
    return QStringLiteral("受信箱の書状の表を読めなかったため、全員を未返信者としました。");
}

QString unreadPagesNote(qint64 pageCount)
{
    if (pageCount <= kMaxInboxPages)
        return QString();
    return QStringLiteral("※受信箱の %1 ページ目以降は読んでいません").arg(kMaxInboxPages + 1);
}

InboxPage readInboxPage(const QString &bodyText, InboxPageKind kind)
{
    InboxPage page;
    page.isGamePage = GamePage::hasMenuLine(bodyText);
    bool inList = false;
    for (const QString &line : bodyText.split(kCrLf)) {
        if (containsExact(line, kTableHeader)) {
            inList = true;
            page.hasLetterTable = true;
        } else if (containsExact(line, kPagerOnward)) {
            if (kind == InboxPageKind::First)
                page.lastPageLink = pageCountOfPager(line);
            break;
        } else if (containsExact(line, kPagerBackFirst) && containsExact(line, kPagerBackOne)) {
            break;
        } else if (inList) {
            page.letterRows.append(trimSpaces(line));
        } else if (containsExact(line, QStringLiteral("件名")) &&
                   containsExact(line, QStringLiteral("日付"))) {
            page.tableMadeOtherwise = true;
        }
    }
    page.tableMadeOtherwise = page.tableMadeOtherwise && !page.hasLetterTable;
    return page;
}

ReplyTally::ReplyTally(QStringList members, const QString &trimmedKeyword)
    : m_members(std::move(members)), m_memberSet(m_members.cbegin(), m_members.cend()),
      m_keyword(keywordInForce(trimmedKeyword) ? trimmedKeyword : QString())
{
}

QString ReplyTally::senderOf(const QString &row) const
{
    const QStringList fields = trimSpaces(row).split(u' ');
    // A row without a sender field before the date is no letter row.
    if (fields.size() < kFieldsAfterSender + 1)
        return QString();
    const qsizetype senderEnd = fields.size() - kFieldsAfterSender; // one past the sender field
    // The roster keeps names without their ASCII blanks, while the row splits
    // such a name into words: the longest run of whole fields before the date
    // that, joined, is a roster name is that member. Whole fields only, so
    // the end of one word is never taken for a shorter name.
    QString joined;
    QString longest;
    for (qsizetype i = senderEnd - 1; i >= 0; --i) {
        joined.prepend(fields.at(i));
        if (m_memberSet.contains(joined))
            longest = joined;
    }
    return longest.isEmpty() ? fields.at(senderEnd - 1) : longest;
}

void ReplyTally::addRow(const QString &row)
{
    const QString trimmed = trimSpaces(row);
    const QString sender = senderOf(trimmed);
    // An empty sender (two blanks in a row) would only add an empty line.
    if (sender.isEmpty() || sender == kOperatorName || m_listed.contains(sender))
        return;
    if (!m_keyword.isEmpty() && !containsExact(trimmed, m_keyword))
        return;
    m_listed.insert(sender);
    m_repliers.append(sender);
}

QStringList ReplyTally::nonRepliers() const
{
    QStringList found;
    QSet<QString> listed = m_listed;
    for (const QString &member : m_members) {
        if (member.isEmpty() || listed.contains(member))
            continue;
        listed.insert(member);
        found.append(member);
    }
    return found;
}

PageMark::Read ReplyTally::addPage(const InboxPage &page)
{
    if (!page.isGamePage)
        return PageMark::Read::lacking(GamePage::kMenuLineMark);
    for (const QString &row : page.letterRows)
        addRow(row);
    return PageMark::Read::done();
}

QString ReplyTally::resultText(qint64 pageCount) const
{
    QString text = resultText();
    if (const QString note = unreadPagesNote(pageCount); !note.isEmpty())
        text += note + QStringLiteral("\r\n");
    return text;
}

QString ReplyTally::resultText() const
{
    QString text = QStringLiteral("★返信者リスト") + kCrLf;
    for (const QString &replier : m_repliers)
        text += replier + kCrLf;
    text += kCrLf + QStringLiteral("★未返信者リスト") + kCrLf;
    for (const QString &member : nonRepliers())
        text += member + kCrLf;
    return text;
}

} // namespace ReplyChecker
