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
    QStringList out;
    for (const Member &member : ReadMemberTable(page(html)))
        out.append(member.userId);
    return out;
}

// The five cells of every row, row after row.
QStringList cells(const QList<Member> &members)
{
    QStringList out;
    for (const Member &member : members)
        out += QStringList(member.cells.cbegin(), member.cells.cend());
    return out;
}

const QStringList bothIds = {QStringLiteral("501"), QStringLiteral("502")};

} // namespace

TEST(ReadMemberTable, EachRowIsOneMemberWithoutQuotesOrSpaces)
{
    const QString collected = CollectedMarkup(page(alliancePage(rowA + rowB)));
    const QList<Member> members = ReadMemberTable(page(alliancePage(rowA + rowB)));
    ASSERT_EQ(members.size(), 2);
    EXPECT_EQ(members[0].name, QStringLiteral("LordA"));
    EXPECT_EQ(members[1].name, QStringLiteral("織田信長"));
    EXPECT_EQ(members[0].userId, QStringLiteral("501"));
    EXPECT_EQ(members[1].userId, QStringLiteral("502"));
    EXPECT_EQ(cells(members),
              QStringList({QStringLiteral("1"), QStringLiteral("100"), QStringLiteral("2,000"),
                           QStringLiteral("3"), QStringLiteral("盟主"), QStringLiteral("2"),
                           QStringLiteral("80"), QStringLiteral("1,500"), QStringLiteral("0"), QString()}));
    EXPECT_EQ(members[0].fiefCount(), QStringLiteral("3"));
    EXPECT_EQ(members[0].tableRole(), QStringLiteral("盟主"));
    EXPECT_TRUE(collected.startsWith(QStringLiteral("<HEAD><TITLE>同盟</TITLE></HEAD>")));
    EXPECT_TRUE(collected.endsWith(QStringLiteral("</BODY>\r\n")));
}

TEST(ReadMemberTable, RowsFoundWhateverTheCaseAndMarkerFormTheEarlierFormWins)
{
    QString upper = alliancePage(rowA + rowB);
    upper.replace(QStringLiteral("tr"), QStringLiteral("TR"))
        .replace(QStringLiteral("td>"), QStringLiteral("TD>"));
    EXPECT_EQ(ids(upper), bothIds);

    // "fs12" alone is written bare (<TR class=fs12>); with a second class the
    // value is written in quotes (<TR class="fs12 odd">). Whichever form comes
    // first starts the table, so no member before the other form is lost.
    const QString quotedTag = QStringLiteral("<tr class=\"fs12 odd\">");
    const QString bareTag = QStringLiteral("<tr class=fs12>");
    const QString rowAQuoted = QString(rowA).replace(QStringLiteral("<tr class=\"fs12\">"), quotedTag);
    const QString rowBQuoted = QString(rowB).replace(QStringLiteral("<tr class=\"fs12\">"), quotedTag);
    const QString rowABare = QString(rowA).replace(QStringLiteral("<tr class=\"fs12\">"), bareTag);
    const QString rowBBare = QString(rowB).replace(QStringLiteral("<tr class=\"fs12\">"), bareTag);
    ASSERT_TRUE(page(alliancePage(rowAQuoted)).markup().contains(QStringLiteral("<TR class=\"fs12 odd\">")));
    ASSERT_TRUE(page(alliancePage(rowABare)).markup().contains(QStringLiteral("<TR class=fs12>")));
    EXPECT_EQ(ids(alliancePage(rowAQuoted + rowBBare)), bothIds);
    EXPECT_EQ(ids(alliancePage(rowABare + rowBQuoted)), bothIds);
    // Either form alone, and the marker's letter case, do not matter.
    EXPECT_EQ(ids(alliancePage(rowAQuoted + rowBQuoted)), bothIds);
    EXPECT_EQ(ids(alliancePage(
                  QString(rowAQuoted + rowBQuoted).replace(QStringLiteral("fs12"), QStringLiteral("FS12")))),
              bothIds);
    const QString upperClass = QString(rowA).replace(QStringLiteral("fs12"), QStringLiteral("FS12"));
    EXPECT_EQ(
        ids(alliancePage(upperClass + QString(rowB).replace(QStringLiteral("fs12"), QStringLiteral("Fs12")))),
        bothIds);
}

TEST(ReadMemberTable, TheMemberIdIsFoundWhateverItsLetterCase)
{
    const QString upperLink = QString(rowA).replace(QStringLiteral("user_id="), QStringLiteral("USER_ID="));
    EXPECT_EQ(ids(alliancePage(upperLink + rowB)), bothIds);
}

TEST(ReadMemberTable, OnlyTheFifthCellLosesItsFullWidthSpaces)
{
    const QString spaced =
        row(503, QStringLiteral("武田　信玄"),
            QStringLiteral("<td>一　</td><td>二　</td><td>三　</td><td>四　</td><td>五　番</td>"));
    const QList<Member> members = ReadMemberTable(page(alliancePage(spaced)));
    ASSERT_EQ(members.size(), 1);
    EXPECT_EQ(members[0].name, QStringLiteral("武田　信玄"));
    EXPECT_EQ(cells(members),
              QStringList({QStringLiteral("一　"), QStringLiteral("二　"), QStringLiteral("三　"),
                           QStringLiteral("四　"), QStringLiteral("五番")}));
}

TEST(ReadMemberTable, FirstIdOfTheRowIsTheMembersAndCellsFollowTheName)
{
    // A cell before the link is not one of the five; a later link with
    // another id= does not replace the member's.
    const QString r = QStringLiteral("<tr class=fs12><td>x</td><td><a href=\"/user/?user_id=77\">N</a></td>"
                                     "<td>1</td><td>2</td><td><a href=\"/land.php?id=9\">3</a></td>"
                                     "<td>4</td><td>5</td><td>6</td></tr>\n");
    const QList<Member> members = ReadMemberTable(page(alliancePage(r)));
    ASSERT_EQ(members.size(), 1);
    EXPECT_EQ(members[0].userId, QStringLiteral("77"));
    EXPECT_EQ(members[0].name, QStringLiteral("N"));
    EXPECT_EQ(cells(members), QStringList({QStringLiteral("1"), QStringLiteral("2"),
                                           QStringLiteral("<Ahref=/land.php?id=9>3</A>"), QStringLiteral("4"),
                                           QStringLiteral("5")}));
}

TEST(ReadMemberTable, RowsAfterTheEndOfTheBodyAreNotRead)
{
    const QString rowC =
        row(503, QStringLiteral("C"), QStringLiteral("<td>3</td><td>3</td><td>3</td><td>3</td><td>3</td>"));
    const QString otherTable = QStringLiteral("<table><tbody>") + rowC + QStringLiteral("</tbody></table>");
    EXPECT_EQ(ids(alliancePage(rowA + rowB + QStringLiteral("</tbody><tbody>") + rowC, otherTable)), bothIds);
}

TEST(ReadMemberTable, TheEndOfATableWithoutABodyEndsTheRowsToo)
{
    // Rows kept in a table footer end with "</TFOOT></TABLE>", no "</TBODY>".
    const QString rowC =
        row(503, QStringLiteral("C"), QStringLiteral("<td>3</td><td>3</td><td>3</td><td>3</td><td>3</td>"));
    const QString html = QStringLiteral("<html><body><table><tfoot>%1</tfoot></table>"
                                        "<table><tbody>%2</tbody></table></body></html>")
                             .arg(rowA + rowB, rowC);
    ASSERT_TRUE(page(html).markup().contains(QStringLiteral("</TFOOT></TABLE>")));
    EXPECT_EQ(ids(html), bothIds);
}

TEST(ReadMemberTable, PageWithoutTableOrRowWithoutCellsFails)
{
    const Document sessionOut =
        page(QStringLiteral("<html><body><p>セッションが切れました</p></body></html>"));
    EXPECT_THROW(ReadMemberTable(sessionOut), ReadFailure);
    EXPECT_TRUE(CollectedMarkup(sessionOut).contains(QStringLiteral("セッションが切れました")));

    const QString shortRow = QString(rowA).replace(QStringLiteral("<td>3</td>"), QString());
    EXPECT_THROW(ReadMemberTable(page(alliancePage(rowB + shortRow))), ReadFailure);
}
