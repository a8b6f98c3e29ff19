#include "alliance/commands/rostercommand.h"
#include "common/datafile.h"
#include "common/readfailure.h"
#include "testsupport/alliance/commandfixture.h"
#include "testsupport/common/filesizelimit.h"

#include <QFile>

namespace {

using PageFixtures::Member;

class RosterCommandTest : public CommandFixture
{
protected:
    void run() { m_command.run(); }

    QString rosterPath() const { return m_session.appDir + QStringLiteral("OVEKMAP_DATA_7.txt"); }
    QByteArray rosterBytes() const
    {
        QFile file(rosterPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }
    void writePreviousRoster(const QString &text) { ASSERT_TRUE(DataFile::writeText(rosterPath(), text)); }

    RosterCommand m_command{m_context};
};

TEST_F(RosterCommandTest, WritesEveryMemberInTableOrderAndEndsWithAnEmptyLine)
{
    serveAlliance({{11, QStringLiteral("織田 信長"), QStringLiteral("-12,34")},
                   {12, QStringLiteral("𠮷川"), QStringLiteral("0,-180")},
                   {13, QStringLiteral("ｶﾞﾗｼｬ"), QStringLiteral("5")}});
    run();

    EXPECT_EQ(m_session.allianceId, QStringLiteral("7"));
    const QString expected =
        QStringLiteral("\"織田信長\",\"-12\",\"34\"\r\n\"𠮷川\",\"0\",\"-180\"\r\n\"ｶﾞﾗｼｬ\",\"5\"\r\n");
    EXPECT_EQ(m_port.text, expected);
    // The bytes, built by hand: code page 932, 𠮷 as its reference, CR LF,
    // and one more CR LF at the end.
    const QByteArray bytes = QByteArray("\"\x90\x44\x93\x63\x90\x4d\x92\xb7\",\"-12\",\"34\"\r\n"
                                        "\"&#134071;\x90\xec\",\"0\",\"-180\"\r\n"
                                        "\"\xb6\xde\xd7\xbc\xac\",\"5\"\r\n\r\n");
    EXPECT_EQ(rosterBytes(), bytes);
    EXPECT_EQ(m_pacer.pauses, 3) << "one pause before every member page";
    EXPECT_EQ(m_port.progress, QStringList({QStringLiteral("名簿作成 1/3"), QStringLiteral("名簿作成 2/3"),
                                            QStringLiteral("名簿作成 3/3")}));
    EXPECT_EQ(m_port.hourglassDepth, 0);
    EXPECT_TRUE(m_port.messages.isEmpty());
    EXPECT_TRUE(m_port.clipboard.contains(QStringLiteral("<TR class=fs12>")));
}

TEST_F(RosterCommandTest, AFailureMidWalkKeepsThePreviousFileAndLeavesTextEmpty)
{
    writePreviousRoster(QStringLiteral("\"旧\",\"1\",\"1\"\r\n"));
    const QByteArray before = rosterBytes();
    std::vector<Member> members;
    for (int i = 1; i <= 6; ++i)
        members.push_back({i, QStringLiteral("将%1").arg(i), QStringLiteral("%1,%1").arg(i)});
    serveAlliance(members);
    // The fifth profile shows its home castle but not the link after it.
    browser().addPage(profileAddress(5), QStringLiteral("<html><body>(本拠地) 座標なし</body></html>"));
    EXPECT_THROW(run(), ReadFailure) << "the runner tells the user why";

    EXPECT_EQ(m_port.text, QString());
    EXPECT_EQ(rosterBytes(), before);
    EXPECT_TRUE(m_port.messages.isEmpty());
}

TEST_F(RosterCommandTest, APageWithoutTheMemberTableWritesNothing)
{
    browser().addPage(kWorld + QStringLiteral("/alliance/info.php?id=7"),
                      QStringLiteral("<html><body>同盟が見つかりません</body></html>"));
    EXPECT_THROW(run(), ReadFailure);
    EXPECT_EQ(m_port.text, QString());
    EXPECT_EQ(rosterBytes(), QByteArray("<none>"));
    EXPECT_FALSE(m_port.clipboard.isEmpty()) << "the markup that was read is still offered";
}

TEST_F(RosterCommandTest, AnUnreadMemberKeepsThePreviousLineOrIsLeftOutAndNamed)
{
    // 乙 was in the last roster, 丁 joined since; neither profile shows the
    // home castle this time.
    writePreviousRoster(QStringLiteral("\"甲\",\"9\",\"9\"\r\n\"乙\",\"-3\",\"4\"\r\n"));
    serveAlliance({{21, QStringLiteral("甲"), QStringLiteral("1,2")},
                   {22, QStringLiteral("乙"), QStringLiteral("3,4")},
                   {23, QStringLiteral("丙"), QStringLiteral("5,6")},
                   {24, QStringLiteral("丁"), QStringLiteral("7,8")}});
    browser().addPage(profileAddress(22), PageFixtures::profilePageWithoutHome());
    browser().addPage(profileAddress(24), PageFixtures::profilePageWithoutHome());
    run();

    EXPECT_EQ(browser().loadCount(profileAddress(22)), 5) << "five tries, then the walk goes on";
    EXPECT_EQ(m_port.text,
              QStringLiteral("\"甲\",\"1\",\"2\"\r\n\"乙\",\"-3\",\"4\"\r\n\"丙\",\"5\",\"6\"\r\n"));
    EXPECT_EQ(m_command.carriedOver(), QStringList{QStringLiteral("乙")});
    EXPECT_EQ(m_command.leftOut(), QStringList{QStringLiteral("丁")});
    ASSERT_EQ(m_port.messages.size(), 1);
    const QString message = m_port.messages[0];
    EXPECT_TRUE(message.startsWith(QStringLiteral("注意|")));
    EXPECT_LT(message.indexOf(QStringLiteral("前回の名簿の座標をそのまま使いました：\r\n乙")),
              message.indexOf(QStringLiteral("名簿に入っていません：\r\n丁")));
    EXPECT_FALSE(message.contains(QStringLiteral("丙")));
}

TEST_F(RosterCommandTest, TheSameCommandRunTwiceWarnsOnlyAboutItsOwnRun)
{
    serveAlliance({{31, QStringLiteral("残る"), QStringLiteral("1,1")},
                   {32, QStringLiteral("去る"), QStringLiteral("2,2")}});
    browser().addPage(profileAddress(32), PageFixtures::profilePageWithoutHome());
    run();
    EXPECT_EQ(m_command.leftOut(), QStringList{QStringLiteral("去る")});

    // The member who could not be read has left the alliance since.
    serveAlliance({{31, QStringLiteral("残る"), QStringLiteral("1,1")}});
    m_port.messages.clear();
    run();
    EXPECT_TRUE(m_command.leftOut().isEmpty());
    EXPECT_TRUE(m_command.carriedOver().isEmpty());
    EXPECT_TRUE(m_port.messages.isEmpty());
    EXPECT_EQ(rosterBytes(), QByteArray("\"\x8e\x63\x82\xe9\",\"1\",\"1\"\r\n\r\n"));
}

TEST_F(RosterCommandTest, AFailedWriteIsToldOnceAndKeepsThePreviousFile)
{
    writePreviousRoster(QStringLiteral("\"旧\",\"1\",\"1\"\r\n"));
    const QByteArray before = rosterBytes();
    std::vector<Member> members;
    for (int i = 1; i <= 20; ++i)
        members.push_back({i, QStringLiteral("将%1").arg(i), QStringLiteral("%1,%1").arg(i)});
    serveAlliance(members);

    // The file may not grow past 64 bytes: the disk is as good as full.
    {
        FileSizeLimit fullDisk;
        run();
    }

    EXPECT_EQ(rosterBytes(), before);
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(m_port.messages[0].startsWith(QStringLiteral("注意|同盟員名簿を保存できませんでした。")));
    EXPECT_TRUE(m_port.text.contains(QStringLiteral("将20"))) << "the roster is still shown for copying";
}

TEST_F(RosterCommandTest, ASecondRunDropsMembersWhoLeft)
{
    serveAlliance({{31, QStringLiteral("残る"), QStringLiteral("1,1")},
                   {32, QStringLiteral("去る"), QStringLiteral("2,2")}});
    run();
    EXPECT_TRUE(m_port.text.contains(QStringLiteral("去る")));
    serveAlliance({{31, QStringLiteral("残る"), QStringLiteral("1,1")}});
    run();
    EXPECT_EQ(rosterBytes(), QByteArray("\"\x8e\x63\x82\xe9\",\"1\",\"1\"\r\n\r\n"));
}

} // namespace
