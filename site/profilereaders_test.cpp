#include "common/readfailure.h"
#include "site/document.h"
#include "site/profilereaders.h"
#include "testsupport/common/qtprinters.h"

#include <gtest/gtest.h>

namespace {

Document profile(const QString &body)
{
    return Document::fromHtml(
        QStringLiteral("http://w3.example.jp/user/?user_id=501"),
        QStringLiteral("<!DOCTYPE html><html><head><title>プロフィール</title></head><body>") + body +
            QStringLiteral("</body></html>"));
}

const QString castleRow =
    QStringLiteral("<table><tr><td>城</td><td>(本拠地)</td>"
                   "<td><a href=\"/land.php?x=-12&amp;y=34&amp;c=1\">-12,34</a></td></tr></table>");

TEST(HomeCastleCoordinates, TakesTheLinkTextAfterTheHomeCastleLabel)
{
    const QString otherCastle = QStringLiteral(
        "<p><a href=\"/land.php?x=5&amp;y=5&amp;c=2\">5,5</a></p>"); // before the label: not it
    EXPECT_EQ(homeCastleCoordinates(profile(otherCastle + castleRow)), QStringLiteral("-12,34"));
}

TEST(HomeCastleCoordinates, NoLabelMeansTryAgainABrokenLinkFails)
{
    EXPECT_EQ(homeCastleCoordinates(profile(QStringLiteral("<p>読み込み中</p>"))), std::nullopt);
    EXPECT_EQ(homeCastleCoordinates(Document()), std::nullopt);
    // The label is matched exactly: full-width parentheses are another text.
    EXPECT_EQ(homeCastleCoordinates(profile(QStringLiteral("<p>（本拠地）</p>"))), std::nullopt);

    QString noCastleParam = castleRow;
    noCastleParam.replace(QStringLiteral("&amp;c=1"), QString());
    EXPECT_THROW(homeCastleCoordinates(profile(noCastleParam)), ReadFailure);

    // Every marker of the home-castle link is matched exactly.
    QString upperCastleParam = castleRow;
    upperCastleParam.replace(QStringLiteral("&amp;c=1"), QStringLiteral("&amp;C=1"));
    EXPECT_THROW(homeCastleCoordinates(profile(upperCastleParam)), ReadFailure);
}

TEST(HomeCastleCoordinates, TheWholeLinkTextBetweenTheTagAndTheNextMarkup)
{
    const QString wide =
        QStringLiteral("<p>(本拠地)<a href=\"/land.php?x=-180&amp;y=180&amp;c=1\">-180,180</a></p>");
    EXPECT_EQ(homeCastleCoordinates(profile(wide)), QStringLiteral("-180,180"));
    const QString spaced =
        QStringLiteral("<p>(本拠地)<a href=\"/land.php?x=1&amp;y=2&amp;c=1\"> 1, 2 </a></p>");
    EXPECT_EQ(homeCastleCoordinates(profile(spaced)), QStringLiteral(" 1, 2 "));
    const QString empty = QStringLiteral("<p>(本拠地)<a href=\"/land.php?x=1&amp;y=2&amp;c=1\"></a></p>");
    EXPECT_EQ(homeCastleCoordinates(profile(empty)), QString());
}

} // namespace

namespace {

using LordFields = LordProfile;

LordFields readLord(const Document &page)
{
    return ReadLordProfile(page);
}

// A profile as the game shows it, lower-case modern markup; the snapshot
// gives it the legacy form the reader matches.
QString lordBody(const QString &nameCell = QStringLiteral("<strong>織田 信長</strong>"),
                 const QString &role = QStringLiteral("盟主補佐 （一）"),
                 const QString &homeCells = QStringLiteral(
                     "<td>岐阜城(本拠地)</td><td><a href=\"/land.php?x=-12&y=34&c=1\">-12,34</a></td>"))
{
    return QStringLiteral(
               "<table class=\"profile\">"
               "<tr><th><img src=\"/img/lord.svg\" alt=\"城主名\"></th><td>%1</td></tr>\n"
               "<tr><th><img alt=\"城主レベル\"></th><td><p class=\"para\">Lv.12<span>（経験値 "
               "99）</span></p></td></tr>\n"
               "<tr><th>人口数</th><td><p class=\"para\"> 1250 <span class=\"unit\">人</span></p></td></tr>\n"
               "<tr><th>戦功</th><td><p class=\"para\">総戦功<br>98765 pt</p></td></tr>\n"
               "<tr><th>所属同盟</th><td><a href=\"/alliance/info.php?id=2581\">天下 布武</a></td></tr>\n"
               "<tr><th><img alt=\"役職\"></th><td><p class=\"para\">%2</p></td></tr>\n"
               "<tr><th>同盟規模</th><td><p class=\"para\">24人<span "
               "class=\"rank\">7位</span></p></td></tr>\n"
               "</table><table class=\"landList\">"
               "<tr><td>本領</td>%3</tr>\n"
               "<tr><td>所領</td><td>北村</td><td><a href=\"/land.php?x=5&y=6\">5,6</a></td></tr></table>")
        .arg(nameCell, role, homeCells);
}

TEST(ReadLordProfile, ReadsEveryFieldOfAProfileInItsOrder)
{
    const LordFields read = readLord(profile(lordBody()));
    EXPECT_EQ(read.population, QStringLiteral("1250"));
    EXPECT_EQ(read.merit, QStringLiteral("98765"));
    EXPECT_EQ(read.allianceName, QStringLiteral("天下 布武"));
    EXPECT_EQ(read.allianceSize, QStringLiteral("24(7位)"));
    // The ASCII blank before the bracket goes, the full-width bracket stays.
    EXPECT_EQ(read.role, QStringLiteral("盟主補佐（一）"));
    EXPECT_EQ(read.x, QStringLiteral("-12"));
    EXPECT_EQ(read.y, QStringLiteral("34"));
}

TEST(ReadLordProfile, ALordNameShownAsALinkStillGivesEveryField)
{
    const LordFields read = readLord(profile(
        lordBody(QStringLiteral("<a href=\"/user/?user_id=5\">織田 信長</a>"), QStringLiteral("盟主"))));
    EXPECT_EQ(read.population, QStringLiteral("1250"));
    EXPECT_EQ(read.merit, QStringLiteral("98765"));
    EXPECT_EQ(read.allianceName, QStringLiteral("天下 布武"));
    EXPECT_EQ(read.allianceSize, QStringLiteral("24(7位)"));
    EXPECT_EQ(read.role, QStringLiteral("盟主"));
    EXPECT_EQ(read.x, QStringLiteral("-12"));
    EXPECT_EQ(read.y, QStringLiteral("34"));
}

TEST(ReadLordProfile, RoleKeepsFullWidthBlanksAndRemovesEveryAsciiBlank)
{
    EXPECT_EQ(
        readLord(profile(lordBody({QStringLiteral("<strong>甲</strong>")}, QStringLiteral(" 外 交　役 "))))
            .role,
        QStringLiteral("外交　役"));
}

TEST(ReadLordProfile, HomeCoordinatesByBothLinkPaths)
{
    // The link marked with "sizset" is taken between its quotes, not the
    // first link of the row.
    const QString marked = QStringLiteral("<td><a href=\"/land.php?x=1&y=1\">城</a>(本拠地)</td><td "
                                          "sizset=\"2\"><a href=\"/land.php?x=-12&y=34&c=1\">"
                                          "x</a></td>");
    LordFields read =
        readLord(profile(lordBody({QStringLiteral("<strong>甲</strong>")}, QStringLiteral("一般"), marked)));
    EXPECT_EQ(read.x, QStringLiteral("-12"));
    EXPECT_EQ(read.y, QStringLiteral("34"));

    // Spaces inside the values are dropped; the fief row after it is not read.
    const QString spaced = QStringLiteral(
        "<td>長い名前の城(本拠地)</td><td><a href=\"/land.php?x= 0 &y= -7 &c=1\">0,-7</a></td>");
    read =
        readLord(profile(lordBody({QStringLiteral("<strong>甲</strong>")}, QStringLiteral("一般"), spaced)));
    EXPECT_EQ(read.x, QStringLiteral("0"));
    EXPECT_EQ(read.y, QStringLiteral("-7"));
}

TEST(ReadLordProfile, AHomeRowWithoutALinkGivesEmptyCoordinates)
{
    const LordFields read =
        readLord(profile(lordBody({QStringLiteral("<strong>甲</strong>")}, QStringLiteral("一般"),
                                  QStringLiteral("<td>城(本拠地)</td>"))));
    EXPECT_EQ(read.population, QStringLiteral("1250"));
    EXPECT_EQ(read.x, QString()) << "not the fief's link of the next row";
    EXPECT_EQ(read.y, QString());
}

TEST(ReadLordProfile, ANonProfilePageGivesNothing)
{
    // The lord's marker is an attribute of its own: 城主名 in a longer value is not it.
    for (const Document &page : {profile(QStringLiteral("<p>指定された城主は存在しません。</p>")), Document(),
                                 profile(QStringLiteral("<img alt=\"城主の名\"><p>人口数</p>"))})
        EXPECT_EQ(readLord(page), LordProfile());
}

TEST(ReadLordProfile, AMissingFieldIsEmptyAndTheLaterFieldsStillRead)
{
    QString body = lordBody();
    body.replace(QStringLiteral("総戦功"), QStringLiteral("戦功合計"));
    const LordFields read = readLord(profile(body));
    EXPECT_EQ(read.merit, QString());
    EXPECT_EQ(read.allianceName, QStringLiteral("天下 布武"));
    EXPECT_EQ(read.allianceSize, QStringLiteral("24(7位)"));
    EXPECT_EQ(read.x, QStringLiteral("-12"));
}

} // namespace
