#include "common/readfailure.h"
#include "site/extractbetween.h"

#include <gtest/gtest.h>

namespace {

const QString meritPage = QStringLiteral("<P>総戦功<BR>1234 pt</P><P>総戦功<BR>99pt</P>");

QString merit(QString &source, bool consume, const QString &endMarker = QStringLiteral("pt</P>"))
{
    return ExtractBetween(source, QStringLiteral("総戦功"), QString(), QStringLiteral("<BR>"), endMarker,
                          consume);
}

} // namespace

TEST(ExtractBetween, FieldTrimmedConsumeContinuesFromTheEndMarker)
{
    QString source = meritPage;
    EXPECT_EQ(merit(source, false), QStringLiteral("1234"));
    EXPECT_EQ(source, meritPage);
    EXPECT_EQ(merit(source, true), QStringLiteral("1234"));
    EXPECT_EQ(source, QStringLiteral("pt</P><P>総戦功<BR>99pt</P>"));
    EXPECT_EQ(merit(source, true), QStringLiteral("99"));

    // Positions are not bounded at 32,767.
    source = QString(40000, u'x') + meritPage;
    EXPECT_EQ(merit(source, true), QStringLiteral("1234"));
    EXPECT_TRUE(source.startsWith(QStringLiteral("pt</P>")));
}

TEST(ExtractBetween, Marker2IsExactAndMissingMarkersLeaveSource)
{
    const QString original = QStringLiteral("<p>総戦功<br>Rank<b>7</b>rank<b>8</b>");
    QString source = original;
    auto ranked = [&](const QString &marker2, const QString &end) {
        return ExtractBetween(source, QStringLiteral("総戦功"), marker2, QStringLiteral("<B>"), end, true);
    };
    EXPECT_EQ(ranked(QStringLiteral("RANK"), QStringLiteral("</B>")), QString());
    EXPECT_EQ(ranked(QStringLiteral("rank"), QStringLiteral("</I>")), QString());
    EXPECT_EQ(ExtractBetween(source, QStringLiteral("無い"), QString(), QStringLiteral("<B>"),
                             QStringLiteral("</B>"), true),
              QString());
    EXPECT_EQ(source, original);
    EXPECT_EQ(ranked(QStringLiteral("rank"), QStringLiteral("</B>")), QStringLiteral("8"));
}

TEST(ExtractBetween, EndMarkerInsideStartMarkerThrowsAndLeavesSource)
{
    QString source = meritPage;
    EXPECT_THROW(merit(source, true, QStringLiteral("BR>")), ReadFailure);
    EXPECT_EQ(source, meritPage);
}
