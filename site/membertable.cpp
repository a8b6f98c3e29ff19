#include "site/membertable.h"

#include "common/readfailure.h"
#include "common/textsearch.h"
#include "site/document.h"

using namespace TextSearch;

namespace {

const QString &lineEnd()
{
    static const QString crlf = QStringLiteral("\r\n");
    return crlf;
}

// Where the table's rows begin: the earlier of the two forms of the row
// marker (the attribute bare or quoted), 0 when neither occurs.
qsizetype tableStart(const QString &markup)
{
    const qsizetype bare = findAsText(markup, QStringLiteral("<TR class=fs12"));
    const qsizetype quoted = findAsText(markup, QStringLiteral("<TR class=\"fs12"));
    if (bare == 0 || quoted == 0)
        return qMax(bare, quoted);
    return qMin(bare, quoted);
}

Member readRow(QString row)
{
    row = removeAll(removeAll(row, QStringLiteral("\"")), QStringLiteral(" "));
    Member member;
    // The first "id=" of a row ends the member link's user_id parameter.
    const qsizetype idStart = findAsText(row, QStringLiteral("id="));
    const qsizetype idEnd = continueFindAsText(row, QStringLiteral(">"), idStart + 1);
    member.userId = span(row, idStart + 3, idEnd - 1);
    const qsizetype nameEnd = continueFindAsText(row, QStringLiteral("<"), idEnd + 1);
    member.name = span(row, idEnd + 1, nameEnd - 1);

    qsizetype searchFrom = nameEnd;
    for (QString &cell : member.cells) {
        const qsizetype open = continueFindAsText(row, QStringLiteral("<TD>"), searchFrom);
        const qsizetype close = continueFindAsText(row, QStringLiteral("</TD>"), open);
        cell = span(row, open + 4, close - 1);
        searchFrom = close;
    }
    member.cells[4] = removeAll(member.cells[4], QStringLiteral("\u3000"));
    return member;
}

} // namespace

QString CollectedMarkup(const Document &alliancePage)
{
    const QString searched = trimSpaces(alliancePage.rootInnerHtml().toString());
    if (tableStart(searched) != 0)
        return searched + lineEnd();
    // The walk over every element happens only for a page that fails anyway.
    QString collected;
    for (qsizetype i = 0; i < alliancePage.elementCount(); ++i)
        collected += trimSpaces(alliancePage.innerHtml(i).toString()) + lineEnd();
    return collected;
}

QList<Member> ReadMemberTable(const Document &alliancePage)
{
    // Every element's markup is a part of the root's, so when the root holds
    // no row marker no element does: the root alone is searched.
    const QString searched = trimSpaces(alliancePage.rootInnerHtml().toString());
    const qsizetype start = tableStart(searched);
    if (start == 0)
        throw ReadFailure(QStringLiteral("同盟員の一覧がありません。"), kMemberRowMark);

    QString rows = searched.mid(start - 1);
    rows.replace(QStringLiteral("</tr>"), QStringLiteral("</TR>"), Qt::CaseSensitive);
    const QStringList pieces = rows.split(QStringLiteral("</TR>"), Qt::KeepEmptyParts, Qt::CaseSensitive);
    QList<Member> members;
    // The piece after the last "</TR>" is never a row.
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
        const QString &piece = pieces.at(i);
        if (containsAsText(piece, QStringLiteral("</TBODY>")) ||
            containsAsText(piece, QStringLiteral("</TABLE>")))
            break;
        members.append(readRow(piece));
    }
    return members;
}
