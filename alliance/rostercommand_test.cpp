#include "alliance/pacer.h"
#include "alliance/rostercommand.h"
#include "common/datafile.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/session.h"
#include "testsupport/alliance/recordingtoolport.h"
#include "testsupport/common/fakeclock.h"
#include "testsupport/common/fakepump.h"
#include "testsupport/site/fakebrowser.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kWorld = QStringLiteral("http://w3.test");

class CountingPacer : public Pacer
{
public:
    void startTicks() override { ++pauses; }
    void waitForTicks() override {}
    int pauses = 0;
};

struct Member
{
    int id;
    QString name;
    QString coordinates;
};

QString alliancePage(const std::vector<Member> &members)
{
    QString rows;
    for (const Member &m : members) {
        rows += QStringLiteral("<tr class=\"fs12\"><td><a href=\"/user/?user_id=%1\">%2</a></td>"
                               "<td>1</td><td>100</td><td>5</td><td>3</td><td>一般</td></tr>\n")
                    .arg(m.id)
                    .arg(m.name);
    }
    return QStringLiteral("<html><body><table class=\"commonTables\"><tbody><tr><th>名前</th></tr>\n%1"
                          "</tbody></table></body></html>")
        .arg(rows);
}

QString profilePage(const QString &coordinates)
{
    return QStringLiteral(
               "<html><body><table><tr><th>本拠地</th><td>(本拠地)</td>"
               "<td><a href=\"/land.php?x=1&amp;y=2&amp;c=1\">%1</a></td></tr></table></body></html>")
        .arg(coordinates);
}

class RosterCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_session.appDir = m_dir.path() + QStringLiteral("/");
        m_session.world.worldBaseUrl = kWorld;
        m_session.world.gameSiteTopUrl = QStringLiteral("http://top.test");
        m_session.world.worldNumber = QStringLiteral("3");
        m_session.allianceId = QStringLiteral("7/");
        m_browsers.replaceWithNew();
    }

    FakeBrowser &browser() { return static_cast<FakeBrowser &>(m_browsers.current()); }

    void serve(const std::vector<Member> &members)
    {
        browser().addPage(kWorld + QStringLiteral("/alliance/info.php?id=7"), alliancePage(members));
        for (const Member &m : members)
            browser().addPage(kWorld + QStringLiteral("/user/?user_id=%1").arg(m.id),
                              profilePage(m.coordinates));
    }

    void run()
    {
        Navigator navigator(m_browsers, m_session.world, m_clock, m_pump);
        RosterCommand command(m_session, navigator, m_browsers, m_pacer, m_port);
        command.run();
    }

    QByteArray rosterBytes() const
    {
        QFile file(m_session.appDir + QStringLiteral("OVEKMAP_DATA_7.txt"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }

    QTemporaryDir m_dir;
    Session m_session;
    BrowserSlot m_browsers{[] { return std::make_unique<FakeBrowser>(); }};
    FakeClock m_clock;
    FakePump m_pump;
    CountingPacer m_pacer;
    RecordingToolPort m_port;
};

TEST_F(RosterCommandTest, WritesEveryMemberInTableOrderAndEndsWithAnEmptyLine)
{
    serve({{11, QStringLiteral("織田 信長"), QStringLiteral("-12,34")},
           {12, QStringLiteral("𠮷川"), QStringLiteral("0,-180")},
           {13, QStringLiteral("ｶﾞﾗｼｬ"), QStringLiteral("5")}});
    run();

    EXPECT_EQ(m_session.allianceId, QStringLiteral("7"));
    const QString expected =
        QStringLiteral("\"織田信長\",\"-12\",\"34\"\r\n\"𠮷川\",\"0\",\"-180\"\r\n\"ｶﾞﾗｼｬ\",\"5\"\r\n");
    EXPECT_EQ(m_port.text, expected);
    EXPECT_EQ(rosterBytes(), DataFile::encode(expected + QStringLiteral("\r\n")));
    EXPECT_TRUE(rosterBytes().contains("&#134071;"));
    EXPECT_EQ(m_pacer.pauses, 3) << "one pause before every member page";
    EXPECT_EQ(m_port.progress.last(), QStringLiteral("名簿作成 3/3"));
    EXPECT_EQ(m_port.hourglassDepth, 0);
    EXPECT_TRUE(m_port.messages.isEmpty());
    EXPECT_TRUE(m_port.clipboard.contains(QStringLiteral("<TR class=fs12>")));
}

TEST_F(RosterCommandTest, AFailureMidWalkKeepsThePreviousFileAndLeavesTextEmpty)
{
    ASSERT_TRUE(DataFile::writeText(m_session.appDir + QStringLiteral("OVEKMAP_DATA_7.txt"),
                                    QStringLiteral("\"旧\",\"1\",\"1\"\r\n")));
    const QByteArray before = rosterBytes();
    std::vector<Member> members;
    for (int i = 1; i <= 6; ++i)
        members.push_back({i, QStringLiteral("将%1").arg(i), QStringLiteral("%1,%1").arg(i)});
    serve(members);
    // The fifth profile shows its home castle but not the link after it.
    browser().addPage(kWorld + QStringLiteral("/user/?user_id=5"),
                      QStringLiteral("<html><body>(本拠地) 座標なし</body></html>"));
    run();

    EXPECT_EQ(m_port.text, QString());
    EXPECT_EQ(rosterBytes(), before);
    EXPECT_EQ(m_port.hourglassDepth, 0);
    EXPECT_TRUE(m_port.messages.isEmpty()) << "the walk ends quietly";
}

TEST_F(RosterCommandTest, APageWithoutTheMemberTableWritesNothing)
{
    browser().addPage(kWorld + QStringLiteral("/alliance/info.php?id=7"),
                      QStringLiteral("<html><body>同盟が見つかりません</body></html>"));
    run();
    EXPECT_EQ(m_port.text, QString());
    EXPECT_EQ(rosterBytes(), QByteArray("<none>"));
    EXPECT_FALSE(m_port.clipboard.isEmpty()) << "the markup that was read is still offered";
}

TEST_F(RosterCommandTest, AProfileThatNeverShowsItsHomeIsLeftOutAndNamed)
{
    serve({{21, QStringLiteral("甲"), QStringLiteral("1,2")},
           {22, QStringLiteral("乙"), QStringLiteral("3,4")},
           {23, QStringLiteral("丙"), QStringLiteral("5,6")}});
    browser().addPage(kWorld + QStringLiteral("/user/?user_id=22"),
                      QStringLiteral("<html><body>読込中</body></html>"));
    run();

    EXPECT_EQ(browser().loadCount(kWorld + QStringLiteral("/user/?user_id=22")),
              RosterCommand::kAttemptsPerMember);
    EXPECT_EQ(m_port.text, QStringLiteral("\"甲\",\"1\",\"2\"\r\n\"丙\",\"5\",\"6\"\r\n"));
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(m_port.messages[0].startsWith(QStringLiteral("注意|")));
    EXPECT_TRUE(m_port.messages[0].contains(QStringLiteral("乙")));
}

TEST_F(RosterCommandTest, ASecondRunDropsMembersWhoLeft)
{
    serve({{31, QStringLiteral("残る"), QStringLiteral("1,1")},
           {32, QStringLiteral("去る"), QStringLiteral("2,2")}});
    run();
    EXPECT_TRUE(m_port.text.contains(QStringLiteral("去る")));
    serve({{31, QStringLiteral("残る"), QStringLiteral("1,1")}});
    run();
    EXPECT_EQ(rosterBytes(), DataFile::encode(QStringLiteral("\"残る\",\"1\",\"1\"\r\n\r\n")));
}

} // namespace
