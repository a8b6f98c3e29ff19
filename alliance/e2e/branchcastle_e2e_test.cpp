// End to end: the branch-castle list against demosite, chromedriver and a
// headless Chromium, compared with what the world's branch castles imply.
#include "alliance/commands/branchcastlecommand.h"
#include "common/dates.h"
#include "testsupport/alliance/endtoendfixture.h"
#include "testsupport/alliance/rosteroracle.h"
#include "testsupport/common/fakeclock.h"

#include <QJsonArray>

namespace {

// The forts of the north-east quarter, in list order.
const int kForts[48][2] = {{12, 28},   {28, 12},   {12, 52},   {36, 36},   {52, 12},   {12, 76},   {36, 60},
                           {60, 36},   {76, 12},   {12, 100},  {36, 84},   {60, 60},   {84, 36},   {100, 12},
                           {12, 124},  {36, 108},  {60, 84},   {84, 60},   {108, 36},  {124, 12},  {12, 148},
                           {36, 132},  {60, 108},  {84, 84},   {108, 60},  {132, 36},  {148, 12},  {36, 156},
                           {60, 132},  {84, 108},  {108, 84},  {132, 60},  {156, 36},  {60, 156},  {84, 132},
                           {108, 108}, {132, 84},  {156, 60},  {84, 156},  {108, 132}, {132, 108}, {156, 84},
                           {108, 156}, {132, 132}, {156, 108}, {132, 156}, {156, 132}, {156, 156}};

struct Castle
{
    QString line;
    int x;
    int y;
};

// The list the world implies, from the dump alone.
QString expectedList(const QJsonObject &world, const QString &allianceId, const QString &created, int *groups,
                     int unreadUserId = 0)
{
    QList<Castle> castles;
    for (const QJsonObject &lord : RosterOracle::members(world, allianceId)) {
        if (lord[QStringLiteral("user_id")].toInt() == unreadUserId)
            continue;
        for (const QJsonValue castle : lord[QStringLiteral("branch_castles")].toArray()) {
            const int x = castle[QStringLiteral("x")].toInt();
            const int y = castle[QStringLiteral("y")].toInt();
            castles.append({RosterOracle::tableName(lord) + u'>' +
                                castle[QStringLiteral("name")].toString().remove(u' ') +
                                QStringLiteral(">(%1,%2)").arg(x).arg(y),
                            x, y});
        }
    }
    const QStringList titles{QStringLiteral("★北東砦"), QStringLiteral("★南東砦"), QStringLiteral("★北西砦"),
                             QStringLiteral("★南西砦")};
    const int signs[4][2] = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
    QStringList blocks;
    for (int q = 0; q < 4; ++q) {
        for (int f = 0; f < 48; ++f) {
            const int fx = kForts[f][0] * signs[q][0];
            const int fy = kForts[f][1] * signs[q][1];
            QStringList lines;
            for (const Castle &c : castles) {
                if ((fx - c.x) * (fx - c.x) + (fy - c.y) * (fy - c.y) < 100)
                    lines.append(c.line);
            }
            if (!lines.isEmpty())
                blocks.append(QStringLiteral("%1%2 (%3,%4) 集団━━━ %5人\r\n")
                                  .arg(titles[q])
                                  .arg(f + 1)
                                  .arg(fx)
                                  .arg(fy)
                                  .arg(lines.size()) +
                              lines.join(QStringLiteral("\r\n")));
        }
    }
    *groups = int(blocks.size());
    return QStringLiteral("\r\n") + created +
           (blocks.isEmpty() ? QString() : QStringLiteral("\r\n") + blocks.join(QStringLiteral("\r\n\r\n")));
}

class BranchCastleEndToEnd : public EndToEndFixture
{
protected:
    bool startsUpInSetUp() const override { return true; }
};

TEST_F(BranchCastleEndToEnd, TheListMatchesTheWorldsBranchCastles)
{
    // The first two profile loads come without their fief section: loaded again.
    m_site.control(QStringLiteral("miss-marker?path=/user/&count=2"));
    FakeClock listClock(9 * 3600 + 8 * 60 + 7, QDate(2024, 5, 6));
    ListBranchCastles(context(), listClock);

    const QJsonObject world = dump();
    int groups = 0;
    const QString expected = expectedList(
        world, m_session.allianceId, Dates::dateTime(listClock.now()) + QStringLiteral(" 作成"), &groups);
    EXPECT_TRUE(m_port.messages.isEmpty()) << m_port.messages.join(u'\n').toStdString();
    EXPECT_EQ(m_port.text, expected);
    for (const QString &title : {QStringLiteral("★北東砦"), QStringLiteral("★南東砦"),
                                 QStringLiteral("★北西砦"), QStringLiteral("★南西砦")})
        EXPECT_TRUE(expected.contains(title)) << "the world has castles near a fort of every quarter";
    EXPECT_GE(groups, 4);
}

TEST_F(BranchCastleEndToEnd, AMemberWhoseProfileNeverShowsIsNamedAtTheEndOfTheList)
{
    // Five loads without the fief section: the first member is left out.
    m_site.control(QStringLiteral("miss-marker?path=/user/&count=5"));
    FakeClock listClock(9 * 3600, QDate(2024, 5, 6));
    ListBranchCastles(context(), listClock);

    const QJsonObject world = dump();
    const QJsonObject first = RosterOracle::members(world, m_session.allianceId).first();
    int groups = 0;
    const QString expected =
        expectedList(world, m_session.allianceId, Dates::dateTime(listClock.now()) + QStringLiteral(" 作成"),
                     &groups, first[QStringLiteral("user_id")].toInt()) +
        QStringLiteral("\r\n※プロフィールを読めなかった同盟員: ") + RosterOracle::tableName(first);
    EXPECT_EQ(m_port.text, expected);
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(m_port.messages.first().contains(RosterOracle::tableName(first)));
}

} // namespace
