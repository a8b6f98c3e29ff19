#include "common/readfailure.h"
#include "site/document.h"
#include "site/ownlord.h"

#include <gtest/gtest.h>

namespace {

const QString base = QStringLiteral("http://w3.example.jp");

QString villageRow(const QString &label, int id, const QString &name, int x, int y)
{
    return QStringLiteral("<tr><td>%1</td><td><a href=\"/village_change.php?village_id=%2\">%3</a></td>"
                          "<td><a href=\"/land.php?x=%4&amp;y=%5\">(%4,%5)</a></td></tr>\n")
        .arg(label)
        .arg(id)
        .arg(name)
        .arg(x)
        .arg(y);
}

// A user page as the game serves it: the side box with the lord, the alliance
// link and one row per village.
QString userPage(int fiefCount)
{
    QString rows = villageRow(QStringLiteral("本領"), 1000, QStringLiteral("本 拠　地"), 1, 2);
    for (int i = 1; i <= fiefCount; ++i)
        rows += villageRow(QStringLiteral("所領"), 1000 + i, QStringLiteral("所領%1").arg(i), -i, 10 + i);
    return QStringLiteral(
               "<!DOCTYPE html><html><head></head><body><div class=\"sideBoxInner basename\"><ul>"
               "<li id=\"lordName\"> 織田 信長 </li><li><a href=\"/alliance/info.php?id=123\">同盟</a>"
               "</li></ul>\n<table>\n%1</table></div></body></html>")
        .arg(rows);
}

OwnLord read(const QString &html, const OwnLord &previous = OwnLord(), const QString &worldBaseUrl = base)
{
    return ReadOwnLord(Document::fromHtml(base + QStringLiteral("/user/"), html), worldBaseUrl, previous);
}

} // namespace

TEST(ReadOwnLord, HomeAndThreeFiefsFillFirstFourSlotsAndKeepTheRest)
{
    OwnLord old;
    old.villageLink.fill(QStringLiteral("oldLink"));
    old.villageId.fill(QStringLiteral("oldId"));
    old.villageName.fill(QStringLiteral("oldName"));
    old.villageMapUrl.fill(QStringLiteral("oldMap"));
    const OwnLord lord = read(userPage(3), old);
    EXPECT_EQ(lord.allianceId, QStringLiteral("123"));
    EXPECT_EQ(lord.lordName, QStringLiteral("織田 信長"));
    EXPECT_EQ(lord.villageLink[0], QStringLiteral("/village_change.php?village_id=1000"));
    EXPECT_EQ(lord.villageName[0], QStringLiteral("本拠　地")); // ASCII spaces go, U+3000 stays
    EXPECT_EQ(lord.villageMapUrl[0], base + QStringLiteral("/map.php?x=1&y=2"));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(lord.villageId[i], QString::number(1000 + i));
        EXPECT_EQ(lord.villageName[i], QStringLiteral("所領%1").arg(i));
        EXPECT_EQ(lord.villageMapUrl[i], base + QStringLiteral("/map.php?x=%1&y=%2").arg(-i).arg(10 + i));
    }
    for (int i = 4; i < OwnLord::villageSlots; ++i) {
        EXPECT_EQ(lord.villageLink[i] + lord.villageId[i] + lord.villageName[i] + lord.villageMapUrl[i],
                  QStringLiteral("oldLinkoldIdoldNameoldMap"));
    }
}

TEST(ReadOwnLord, OnlyTheMapPathIsRenamedNeverTheServer)
{
    const QString island = QStringLiteral("http://island.example");
    EXPECT_EQ(read(userPage(0), OwnLord(), island).villageMapUrl[0],
              island + QStringLiteral("/map.php?x=1&y=2"));
}

TEST(ReadOwnLord, TenFiefsFitAnEleventhFails)
{
    EXPECT_EQ(read(userPage(10)).villageId[10], QStringLiteral("1010"));
    EXPECT_THROW(read(userPage(11)), ReadFailure);
}

TEST(ReadOwnLord, PageMissingAPieceFails)
{
    // No alliance link (a player outside any alliance), no home row, no lord
    // name, no side box.
    const QString missing[][2] = {{QStringLiteral(">同盟<"), QStringLiteral(">同盟一覧<")},
                                  {QStringLiteral("本領"), QStringLiteral("領地")},
                                  {QStringLiteral("lordName"), QStringLiteral("lord")},
                                  {QStringLiteral(" basename"), QString()}};
    for (const auto &change : missing)
        EXPECT_THROW(read(userPage(2).replace(change[0], change[1])), ReadFailure) << change[0].toStdString();
}
