#include "alliance/commands/briefingcommand.h"
#include "history/historystore.h"
#include "testsupport/alliance/commandfixture.h"
#include "testsupport/common/qtprinters.h"

#include <QCoreApplication>

namespace {

class BriefingCommandTest : public CommandFixture
{
protected:
    static void SetUpTestSuite()
    {
        // The Sql driver plugins load through a QCoreApplication.
        static int argc = 1;
        static char name[] = "briefing_command_test";
        static char *argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
    }
};

TEST_F(BriefingCommandTest, TellsTheStatusOfTheAllianceFromTheHistoryAloneAndAsksForReadingsFirst)
{
    BriefingCommand(m_context, m_clock).run();
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(m_port.messages[0].contains(QStringLiteral("同盟の記録がまだありません")));
    EXPECT_EQ(m_port.text, QStringLiteral("前の出力"));

    // Two readings ten days apart in which nobody's points moved.
    HistoryStore store(m_session.appDir);
    for (int daysAgo : {10, 0}) {
        Snapshot snapshot;
        snapshot.takenAt = m_clock.now().addDays(-daysAgo);
        snapshot.command = QStringLiteral("activity");
        snapshot.allianceId = QStringLiteral("7");
        MemberReading member;
        member.position = 1;
        member.userId = QStringLiteral("11");
        member.name = QStringLiteral("甲");
        member.points = 100;
        snapshot.members << member;
        ASSERT_TRUE(store.recordSnapshot(snapshot));
    }
    m_port.messages.clear();
    BriefingCommand(m_context, m_clock).run();
    EXPECT_TRUE(m_port.messages.isEmpty());
    EXPECT_EQ(m_port.text,
              QStringLiteral("同盟の状況（%1）\r\n\r\n■要注意（1名）\r\n甲：10日間ポイント変化なし\r\n"
                             "\r\n■新入り（0名）\r\n\r\n■復帰（0名）\r\n\r\n■休止中（0名）")
                  .arg(m_clock.now().date().toString(QStringLiteral("yyyy/MM/dd"))));
    EXPECT_EQ(m_session.allianceId, QStringLiteral("7"));
}

} // namespace
