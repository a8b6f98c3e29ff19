// End to end: war-ranking bands extracted from demosite through the real
// start-up walk and a headless Chromium, compared with the world dump.
#include "alliance/commands/rankingcommand.h"
#include "alliance/rules/rankingarchive.h"
#include "alliance/window/rankingpanel.h"
#include "testsupport/alliance/endtoendfixture.h"
#include "testsupport/alliance/rosteroracle.h"
#include "testsupport/common/qtprinters.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>

namespace {

class NoPanel : public RankingPanelPort
{
public:
    void setCheck1Enabled(bool) override {}
    void setCheck1Ticked(bool) override {}
};

struct Standing
{
    int rank;
    int score;
};

class RankingEndToEnd : public EndToEndFixture
{
protected:
    bool startsUpInSetUp() const override { return true; }
    void beforeStartUp() override { m_site.control(QStringLiteral("ranking-traps")); }
    void SetUp() override
    {
        EndToEndFixture::SetUp();
        if (HasFatalFailure())
            return;
        m_ownId = ownAllianceId().toInt();
        ASSERT_EQ(m_session.allianceId, QString::number(m_ownId));
    }

    QJsonArray merit() const { return dump()[QStringLiteral("ranking")][QStringLiteral("merit")].toArray(); }

    // The own lords of the band's ranks (band 0: 1 to 100), as the band should list them.
    QString expectedBand(const QJsonArray &ranking, const QHash<QString, Standing> *before,
                         int band = 0) const
    {
        QString rows;
        int count = 0;
        for (const QJsonValue &entry : ranking) {
            const int rank = entry[QStringLiteral("rank")].toInt();
            if (rank <= 100 * band || rank > 100 * band + 100 ||
                entry[QStringLiteral("alliance_id")].toInt() != m_ownId)
                continue;
            const QString name = entry[QStringLiteral("name")].toString();
            const int score = entry[QStringLiteral("score")].toInt();
            QString rankMark;
            QString scoreMark;
            if (before) {
                if (const auto old = before->constFind(name); old != before->constEnd()) {
                    rankMark = old->rank > rank    ? QStringLiteral("↑")
                               : old->rank == rank ? QStringLiteral("→")
                                                   : QStringLiteral("↓");
                    scoreMark = old->score > score    ? QStringLiteral("↓")
                                : old->score == score ? QStringLiteral("→")
                                                      : QStringLiteral("↑");
                } else {
                    rankMark = QStringLiteral("　");
                }
            }
            rows +=
                QStringLiteral("%1位%2 %3 %4%5\r\n").arg(rank).arg(rankMark, name).arg(score).arg(scoreMark);
            ++count;
        }
        return QStringLiteral("★第%1～%2位━━━ %3人\r\n")
                   .arg(100 * band + 1)
                   .arg(100 * band + 100)
                   .arg(count) +
               rows;
    }

    QHash<QString, Standing> standings(const QJsonArray &ranking) const
    {
        QHash<QString, Standing> out;
        for (const QJsonValue &entry : ranking) {
            if (entry[QStringLiteral("rank")].toInt() <= 100 &&
                entry[QStringLiteral("alliance_id")].toInt() == m_ownId)
                out.insert(entry[QStringLiteral("name")].toString(),
                           {entry[QStringLiteral("rank")].toInt(), entry[QStringLiteral("score")].toInt()});
        }
        return out;
    }

    void setMerit(int userId, int score)
    {
        m_site.control(QStringLiteral("set-score?user_id=%1&category=merit&score=%2").arg(userId).arg(score));
    }

    int m_ownId = 0;
    NoPanel m_panel;
};

TEST_F(RankingEndToEnd, ABandListsTheOwnLordsAndASecondExtractionCarriesTheMarks)
{
    const QJsonArray first = merit();
    // The traps are on the first page: a stranger whose name holds an own
    // lord's right above him, and strangers of alliances whose ids share
    // digits with the own id.
    ASSERT_EQ(first[0][QStringLiteral("alliance_id")].toInt(), m_ownId * 10 + 7);
    ASSERT_EQ(first[1][QStringLiteral("alliance_id")].toInt(), m_ownId);
    ASSERT_TRUE(
        first[0][QStringLiteral("name")].toString().contains(first[1][QStringLiteral("name")].toString()));
    ASSERT_EQ(first[3][QStringLiteral("alliance_id")].toInt(), m_ownId / 10);

    m_port.text.clear();
    RankingCommand(context(), 0, 0, false).run();
    EXPECT_TRUE(m_port.messages.isEmpty()) << m_port.messages.join(u'\n').toStdString();
    const QString extracted = expectedBand(first, nullptr);
    ASSERT_EQ(m_port.text, extracted);
    ASSERT_GE(extracted.count(QStringLiteral("\r\n")), 3) << "a band worth comparing";

    RankingPanel(m_session, m_port, m_panel).save(0);
    QFile archive(m_session.appDir + QStringLiteral("Archive_5_戦功.txt"));
    ASSERT_TRUE(archive.open(QIODevice::ReadOnly));
    EXPECT_EQ(archive.readAll(), RosterOracle::codePage932Bytes(extracted + QStringLiteral("\r\n")));

    // Since the save: the last own lord of the band goes to the top, the one
    // of rank 2 loses a little, and an own lord from further down comes in.
    const QHash<QString, Standing> before = standings(first);
    const int top = first[0][QStringLiteral("score")].toInt();
    int last = 0;
    int outside = 0;
    for (const QJsonValue &entry : first) {
        if (entry[QStringLiteral("alliance_id")].toInt() != m_ownId)
            continue;
        (entry[QStringLiteral("rank")].toInt() <= 100 ? last : outside) =
            entry[QStringLiteral("user_id")].toInt();
        if (outside != 0)
            break;
    }
    ASSERT_NE(outside, 0);
    setMerit(last, top + 100);
    setMerit(first[1][QStringLiteral("user_id")].toInt(), first[1][QStringLiteral("score")].toInt() - 15);
    setMerit(outside, top - 1);

    m_port.text.clear();
    RankingCommand(context(), 0, 0, true).run();
    EXPECT_TRUE(m_port.messages.isEmpty()) << m_port.messages.join(u'\n').toStdString();
    const QString compared = expectedBand(merit(), &before);
    EXPECT_EQ(m_port.text, compared);
    for (const QString &mark :
         {QStringLiteral("↑"), QStringLiteral("↓"), QStringLiteral("→"), QStringLiteral("　")})
        EXPECT_TRUE(compared.contains(mark)) << mark.toStdString();
}

TEST_F(RankingEndToEnd, PagesPastTheLastRankedLordAreReadOnceAndEachRunCountsItsOwnBlock)
{
    // A small world: 50 ranked lords, so band 1 ends halfway and band 2 is empty.
    m_site.control(QStringLiteral("rank-only?lords=50"));
    int loads = 0;
    m_beforeNavigate = [&](const QString &address) {
        if (address.contains(QStringLiteral("war_ranking.php")))
            ++loads;
    };
    m_port.text.clear();
    RankingCommand(context(), 0, 0, false).run();
    RankingCommand(context(), 0, 0, false).run();
    RankingCommand(context(), 1, 0, false).run();
    m_beforeNavigate = nullptr;
    EXPECT_TRUE(m_port.messages.isEmpty()) << m_port.messages.join(u'\n').toStdString();
    EXPECT_EQ(loads, 30) << "every page once: an empty ranking page is not loaded again";
    const QString band = expectedBand(merit(), nullptr, 0);
    ASSERT_GE(band.count(QStringLiteral("\r\n")), 2) << "own lords among the 50: " << band.toStdString();
    EXPECT_EQ(m_port.text, band + band + QStringLiteral("★第101～200位━━━ 0人\r\n"));
}

} // namespace
