#include "alliance/rules/rankingpage.h"

#include "common/numbers.h"
#include "common/textsearch.h"
#include "site/document.h"
#include "site/gamepage.h"

#include <optional>

using namespace TextSearch;

namespace {

const QString kUserLink = QStringLiteral("/user/?user_id=");

// The text of the lord link whose href begins at user: the characters
// between the first ">" and the first "<" after it. Empty optional-style:
// returns false when the markers are missing.
bool linkText(const QString &markup, qsizetype user, QString &name)
{
    const qsizetype open = findExact(markup, QStringLiteral(">"), user + 10);
    const qsizetype close = findExact(markup, QStringLiteral("<"), user + 10);
    if (open == 0 || close == 0 || close < open)
        return false;
    name = markup.mid(open, close - open - 1);
    return true;
}

// The name as the page text shows it: the markup writes these characters as
// references, the text as themselves.
QString asPageText(QString name)
{
    name.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    name.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    name.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    name.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    name.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return name;
}

// Finds the lords' names in the page text in the order of their rows. Each
// row's name is looked for only after the line of the row before it, so a
// name that is part of an earlier lord's (or an earlier row's alliance name)
// does not take that row's line and rank.
class NameChain
{
public:
    NameChain(const QString &markup, const QString &text, qsizetype header, qsizetype regionStart)
        : m_markup(markup), m_text(text), m_header(header), m_textCursor(header), m_linkCursor(regionStart)
    {
    }

    // Position of the name of the lord whose link begins at user, or 0.
    qsizetype find(qsizetype user, const QString &name)
    {
        // The lords of the rows between the last own row and this one.
        for (qsizetype other = findAsText(m_markup, kUserLink, m_linkCursor); other != 0 && other < user;
             other = findAsText(m_markup, kUserLink, other + 1)) {
            QString otherName;
            if (!linkText(m_markup, other, otherName) || otherName.isEmpty())
                continue;
            if (const qsizetype at = findAsText(m_text, asPageText(otherName), m_textCursor))
                m_textCursor = lineEnd(at);
        }
        m_linkCursor = user + 1;
        const QString wanted = asPageText(name);
        qsizetype at = findAsText(m_text, wanted, m_textCursor);
        // A row whose lords before it could not be told apart in the text:
        // fall back to the first occurrence after the menu line.
        if (at == 0)
            at = findAsText(m_text, wanted, m_header);
        if (at != 0)
            m_textCursor = lineEnd(at);
        return at;
    }

private:
    qsizetype lineEnd(qsizetype at) const
    {
        const qsizetype end = findExact(m_text, QStringLiteral("\r\n"), at);
        return end == 0 ? at + 1 : end;
    }

    const QString &m_markup;
    const QString &m_text;
    qsizetype m_header;
    qsizetype m_textCursor;
    qsizetype m_linkCursor;
};

// The category's cell of the row at row (1-based): the category's number
// of cells on, the text up to the cell's next tag; none when the row ends
// before it.
std::optional<QString> scoreCell(const QString &markup, qsizetype row, int category)
{
    qsizetype cell = 0;
    for (int step = 0; step <= category; ++step) {
        cell = findExact(markup, QStringLiteral("<TD>"), row);
        if (cell == 0)
            cell = findAsText(markup, QStringLiteral("<td>"), row);
        if (cell == 0)
            return std::nullopt;
        row = cell + 1;
    }
    const qsizetype open = findExact(markup, QStringLiteral(">"), cell);
    const qsizetype close = open == 0 ? 0 : findExact(markup, QStringLiteral("<"), open);
    if (close == 0)
        return std::nullopt;
    return markup.mid(open, close - open - 1);
}

// Where the table's rows end: at the pager below it; none when the page
// has no pager at all (it lists nobody).
std::optional<qsizetype> rowsEnd(const QString &markup, qsizetype tableStart)
{
    const qsizetype pagerEnd = findExact(markup, QStringLiteral("ページ送り"), tableStart + 10);
    if (pagerEnd != 0)
        return pagerEnd;
    // Only a pager above the table: in the concatenation the next
    // "ページ送り" lies in a later element's copy, after all of the page.
    if (!containsExact(markup, QStringLiteral("ページ送り")))
        return std::nullopt;
    return markup.size() + 1;
}

// The id must end where the link's id ends: alliance 12 is not alliance
// 123, whose members would otherwise be listed as ours.
bool linksLongerId(const QString &markup, qsizetype row, const QString &allianceLink)
{
    const qsizetype after = row - 1 + allianceLink.size();
    return after < markup.size() && markup.at(after).isDigit();
}

// The rank: the page text from the line's start to the lord's name at namePos.
QString rankBefore(const QString &text, qsizetype namePos)
{
    const qsizetype lineStart = namePos > 1 ? findLastExact(text, QStringLiteral("\r\n"), namePos - 1) : 0;
    return text.mid(lineStart, namePos - 1 - lineStart);
}

} // namespace

RankingPageRead readRankingPage(const Document &page, const QString &allianceId, int category)
{
    RankingPageRead read;
    const QString &text = page.bodyText();
    const qsizetype header = GamePage::menuLinePosition(text);
    if (header == 0) {
        read.missing = GamePage::kMenuLineMark;
        return read;
    }
    // A game page at a ranking address is a ranking page: without the table
    // or the pager it lists nobody (a band past the last ranked lord), and
    // loading it again would only bring the same page.
    read.complete = true;

    // The rows are read from the markup of the root element, where every
    // other element's markup also stands: the first marker at or after a
    // position is the same there as in the concatenation of every element's
    // markup, without building a text of page size times depth.
    const QString markup = trimSpaces(page.rootInnerHtml().toString());
    qsizetype start = findExact(markup, QStringLiteral("alt=攻撃国"));
    if (start == 0) {
        read.missing = kRankingTableMark;
        return read;
    }
    const std::optional<qsizetype> pagerEnd = rowsEnd(markup, start);
    if (!pagerEnd)
        return read;

    const QString allianceLink = QStringLiteral("alliance/info.php?id=") + allianceId;
    NameChain names(markup, text, header, start);
    for (;;) {
        qsizetype row = findAsText(markup, allianceLink, start);
        if (row == 0 || row > *pagerEnd)
            break;
        if (linksLongerId(markup, row, allianceLink)) {
            start = row + allianceLink.size();
            continue;
        }
        start = row + 50;

        const qsizetype user = findLastAsText(markup, kUserLink, row);
        RankingRow entry;
        if (user == 0 || !linkText(markup, user, entry.name))
            break;

        const std::optional<QString> score = scoreCell(markup, row, category);
        if (!score)
            break;
        entry.score = *score;

        // A lord whose name the page text does not show is passed over; the
        // rows after him are still read.
        const qsizetype namePos = names.find(user, entry.name);
        if (namePos == 0)
            continue;
        entry.rank = rankBefore(text, namePos);
        read.rows.append(entry);
    }
    return read;
}

QString rankingLine(const RankingRow &row, const SavedRanking &saved)
{
    QString rankMark;
    QString scoreMark;
    if (!saved.isEmpty()) {
        if (const SavedRanking::Entry *old = saved.find(row.name)) {
            const double oldRank = Numbers::readLoose(old->rank);
            const double newRank = Numbers::readLoose(row.rank);
            rankMark = oldRank > newRank    ? QStringLiteral("↑")
                       : oldRank == newRank ? QStringLiteral("→")
                                            : QStringLiteral("↓");
            // An empty score (a cell wrapped in a tag) is no figure: comparing
            // it as 0 would mark a change nobody made.
            if (!old->score.isEmpty() && !row.score.isEmpty()) {
                const double oldScore = Numbers::readLoose(old->score);
                const double newScore = Numbers::readLoose(row.score);
                scoreMark = oldScore > newScore    ? QStringLiteral("↓")
                            : oldScore == newScore ? QStringLiteral("→")
                                                   : QStringLiteral("↑");
            }
        } else {
            rankMark = QStringLiteral("　");
        }
    }
    QString line = row.rank + QStringLiteral("位") + rankMark + QStringLiteral(" ") + row.name +
                   QStringLiteral(" ") + row.score + scoreMark;
    line.remove(u'\r');
    line.remove(u'\n');
    return line;
}

QString rankingLines(const QList<RankingRow> &rows, const SavedRanking &saved)
{
    QString lines;
    for (const RankingRow &row : rows)
        lines += rankingLine(row, saved) + QStringLiteral("\r\n");
    return lines;
}

QString bandHeader(int band)
{
    return QStringLiteral("★第%1～%2位━━━").arg(100 * band + 1).arg(100 * band + 100);
}

QString pagesLeftOutIntro()
{
    return QStringLiteral("次のページは合戦格付のページとして表示されなかったため、抽出に入っていません。"
                          "人数はそのページを除いた数です。");
}

QString noTableIntro(int pageCount)
{
    return QStringLiteral("1〜%1ページの合戦格付のどのページにも、格付の表がありませんでした。")
        .arg(pageCount);
}

QString withBandHeader(const QString &text, const QString &header)
{
    const QString crLf = QStringLiteral("\r\n");
    return text + (text.isEmpty() || text.endsWith(crLf) ? QString() : crLf) + header + crLf;
}

QString withBandCount(const QString &text, const QString &header, qsizetype count)
{
    const QString crLf = QStringLiteral("\r\n");
    const QString bareLine = header + crLf;
    qsizetype at = text.lastIndexOf(bareLine);
    while (at > 0 && !QStringView(text).left(at).endsWith(crLf))
        at = text.lastIndexOf(bareLine, at - 1);
    if (at < 0)
        return text;
    return QString(text).insert(at + header.size(), QStringLiteral(" %1人").arg(count));
}

QStringList ScrapeRankingPage(const Document &page, const QString &allianceId, int category,
                              const SavedRanking &saved)
{
    QStringList lines;
    for (const RankingRow &row : readRankingPage(page, allianceId, category).rows)
        lines.append(rankingLine(row, saved));
    return lines;
}
