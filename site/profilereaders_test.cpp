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
