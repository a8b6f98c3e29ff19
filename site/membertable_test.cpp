#include "common/readfailure.h"
#include "site/document.h"
#include "site/membertable.h"

#include <gtest/gtest.h>

namespace {

QString row(int id, const QString &name, const QString &cells,
            const QString &rowTag = QStringLiteral("<tr class=\"fs12\">"))
{
    return rowTag +
           QStringLiteral("<td><a href=\"/user/?user_id=%1\">%2</a></td>%3</tr>\n").arg(id).arg(name, cells);
}

const QString rowA = row(501, QStringLiteral("Lord A"),
                         QStringLiteral("<td>1</td><td>100</td><td>2,000</td><td>3</td><td>盟　主</td>"));
const QString rowB = row(502, QStringLiteral("織田\"信長\""),
                         QStringLiteral("<td>2</td><td>80</td><td>1,500</td><td>0</td><td></td>"));

QString alliancePage(const QString &rows, const QString &afterTable = QString())
{
    return QStringLiteral("<!DOCTYPE html><html><head><title>同盟</title></head><body>\n<table><tbody>\n"
                          "<tr><th>名前</th></tr>\n%1</tbody></table>\n%2</body></html>")
        .arg(rows, afterTable);
}

Document page(const QString &html)
{
    return Document::fromHtml(QStringLiteral("http://w3.example.jp/alliance/info.php?id=7"), html);
}

QStringList ids(const QString &html)
{
    MemberTable table;
    ReadMemberTable(page(html), table);
    return splitMemberLines(table.ids);
}

const QStringList bothIds = {QStringLiteral("501"), QStringLiteral("502")};

} // namespace

TEST(ReadMemberTable, EachRowAddsOneLineToEveryOutputWithoutQuotesOrSpaces)
{
    QString collected;
    MemberTable table;
    ReadMemberTable(page(alliancePage(rowA + rowB)), table, &collected);
    EXPECT_EQ(table.names, QStringLiteral("LordA\r\n織田信長\r\n"));
    EXPECT_EQ(table.ids, QStringLiteral("501\r\n502\r\n"));
    EXPECT_EQ(table.cell1 + table.cell2 + table.cell3 + table.cell4,
              QStringLiteral("1\r\n2\r\n100\r\n80\r\n2,000\r\n1,500\r\n3\r\n0\r\n"));
    EXPECT_EQ(table.cell5, QStringLiteral("盟主\r\n\r\n"));
    EXPECT_TRUE(collected.startsWith(QStringLiteral("<HEAD><TITLE>同盟</TITLE></HEAD>")));
    EXPECT_TRUE(collected.endsWith(QStringLiteral("</BODY>\r\n")));

    // Nothing is cleared: a second call lists every member again.
    ReadMemberTable(page(alliancePage(rowA + rowB)), table);
    EXPECT_EQ(splitMemberLines(table.names),
              QStringList({QStringLiteral("LordA"), QStringLiteral("織田信長"), QStringLiteral("LordA"),
                           QStringLiteral("織田信長")}));
    for (const QString *output : {&table.cell1, &table.cell2, &table.cell3, &table.cell4, &table.cell5})
        EXPECT_EQ(splitMemberLines(*output).size(), 4);
}

TEST(ReadMemberTable, RowsFoundWhateverTheCaseAndMarkerFormTheEarlierFormWins)
{
    QString upper = alliancePage(rowA + rowB);
    upper.replace(QStringLiteral("tr"), QStringLiteral("TR"))
        .replace(QStringLiteral("td>"), QStringLiteral("TD>"));
    EXPECT_EQ(ids(upper), bothIds);

    const QString bare = QStringLiteral("<tr class=fs12>");
    const QString rowBBare = QString(rowB).replace(QStringLiteral("<tr class=\"fs12\">"), bare);
    const QString rowABare = QString(rowA).replace(QStringLiteral("<tr class=\"fs12\">"), bare);
    EXPECT_EQ(ids(alliancePage(rowA + rowBBare)), bothIds);
    EXPECT_EQ(ids(alliancePage(rowABare + rowB)), bothIds);
}

TEST(ReadMemberTable, RowsAfterTheEndOfTheBodyAreNotRead)
{
    const QString rowC =
        row(503, QStringLiteral("C"), QStringLiteral("<td>3</td><td>3</td><td>3</td><td>3</td><td>3</td>"));
    const QString otherTable = QStringLiteral("<table><tbody>") + rowC + QStringLiteral("</tbody></table>");
    EXPECT_EQ(ids(alliancePage(rowA + rowB + QStringLiteral("</tbody><tbody>") + rowC, otherTable)), bothIds);
}

TEST(ReadMemberTable, PageWithoutTableOrRowWithoutCellsFails)
{
    QString collected;
    MemberTable table;
    const Document sessionOut =
        page(QStringLiteral("<html><body><p>セッションが切れました</p></body></html>"));
    EXPECT_THROW(ReadMemberTable(sessionOut, table, &collected), ReadFailure);
    EXPECT_TRUE(collected.contains(QStringLiteral("セッションが切れました")));

    const QString shortRow = QString(rowA).replace(QStringLiteral("<td>3</td>"), QString());
    EXPECT_THROW(ReadMemberTable(page(alliancePage(rowB + shortRow)), table), ReadFailure);
    // The outputs stay in step: the good row is in all seven, the broken one in none.
    EXPECT_EQ(table.ids + table.cell5, QStringLiteral("502\r\n\r\n"));
}

TEST(SplitMemberLines, DropsOnlyTheEmptyTailOfTheLastLineEnd)
{
    EXPECT_EQ(splitMemberLines(QStringLiteral("a\r\n\r\nb\r\n")),
              QStringList({QStringLiteral("a"), QString(), QStringLiteral("b")}));
    EXPECT_TRUE(splitMemberLines(QString()).isEmpty());
}
