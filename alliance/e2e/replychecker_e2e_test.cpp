// End to end: the reply checker against demosite, chromedriver and a
// headless Chromium, compared with what the world's inbox implies.
#include "alliance/commands/replycheckercommand.h"
#include "common/datafile.h"
#include "testsupport/alliance/endtoendfixture.h"
#include "testsupport/alliance/rosteroracle.h"

#include <QHash>
#include <QJsonArray>

namespace {

// The result the world's inbox implies, worked out from the dump alone: the
// letter table's rows read "subject sender date", members are known by their
// names without blanks, the operator never counts.
QString expectedResult(const QJsonObject &world, const QString &allianceId, const QString &keyword)
{
    QHash<int, QString> ownNames;
    QStringList roster;
    for (const QJsonObject &lord : RosterOracle::members(world, allianceId)) {
        const QString name = RosterOracle::tableName(lord);
        ownNames.insert(lord[QStringLiteral("user_id")].toInt(), name);
        roster.append(name);
    }
    QStringList repliers;
    for (const QJsonValue letter : world[QStringLiteral("inbox")].toArray()) {
        const QString sender = letter[QStringLiteral("sender")].toString();
        const int senderId = letter[QStringLiteral("sender_user_id")].toInt();
        const QString row = letter[QStringLiteral("subject")].toString() + u' ' + sender + u' ' +
                            letter[QStringLiteral("date")].toString();
        if (letter[QStringLiteral("page")].toInt() > 10 || sender == QStringLiteral("戦国OVEK運営チーム"))
            continue;
        if (!keyword.isEmpty() && !row.contains(keyword))
            continue;
        const QString name = ownNames.contains(senderId) ? ownNames.value(senderId) : sender;
        if (!repliers.contains(name))
            repliers.append(name);
    }
    QString text = QStringLiteral("★返信者リスト\r\n") + repliers.join(QStringLiteral("\r\n")) +
                   (repliers.isEmpty() ? QString() : QStringLiteral("\r\n")) +
                   QStringLiteral("\r\n★未返信者リスト\r\n");
    QStringList listed = repliers;
    for (const QString &member : roster) {
        if (!listed.contains(member)) {
            listed.append(member);
            text += member + QStringLiteral("\r\n");
        }
    }
    return text;
}

class ReplyCheckerEndToEnd : public EndToEndFixture
{
protected:
    bool startsUpInSetUp() const override { return true; }

    // A port of its own for every check, so one check's output cannot stand
    // in for the next.
    QString check(const QString &keywordBox)
    {
        RecordingToolPort port;
        CommandContext context{m_session, *m_navigator, m_browsers, m_pacer, port};
        ReplyCheckCommand(context, keywordBox).run();
        EXPECT_TRUE(port.messages.isEmpty()) << port.messages.join(u'\n').toStdString();
        return port.text;
    }
};

TEST_F(ReplyCheckerEndToEnd, RepliersAndNonRepliersMatchTheWorldsInbox)
{
    const QJsonObject world = dump();
    const QString own = m_session.allianceId;
    const QString roster = RosterOracle::rosterText(world, own);
    ASSERT_TRUE(DataFile::writeBytes(m_session.appDir + QStringLiteral("OVEKMAP_DATA_") + own +
                                         QStringLiteral(".txt"),
                                     RosterOracle::codePage932Bytes(roster + QStringLiteral("\r\n"))));

    const QString all = expectedResult(world, own, QString());
    EXPECT_EQ(check(QStringLiteral("キーワード")), all);
    const QString replies = expectedResult(world, own, QStringLiteral("出欠"));
    EXPECT_EQ(check(QStringLiteral(" 出欠 ")), replies);
    EXPECT_NE(all, replies) << "the keyword must leave some letters out";

    // The world has a member with a blank who wrote: listed without the
    // blank, and the word after the blank is no replier of its own.
    bool blankedReplier = false;
    for (const QJsonValue letter : world[QStringLiteral("inbox")].toArray()) {
        const QString sender = letter[QStringLiteral("sender")].toString();
        if (sender.contains(u' ')) {
            blankedReplier = true;
            const QString repliers = all.section(QStringLiteral("\r\n\r\n"), 0, 0);
            EXPECT_TRUE(repliers.contains(QStringLiteral("\r\n") + QString(sender).remove(u' ') +
                                          QStringLiteral("\r\n")) ||
                        repliers.endsWith(QStringLiteral("\r\n") + QString(sender).remove(u' ')));
            EXPECT_FALSE(
                all.contains(QStringLiteral("\r\n") + sender.section(u' ', -1) + QStringLiteral("\r\n")));
        }
    }
    EXPECT_TRUE(blankedReplier);
}

TEST_F(ReplyCheckerEndToEnd, AnEmptyInboxAndOneOfTwelvePagesAreReadAsTheyAre)
{
    const QString own = m_session.allianceId;
    const QString roster = RosterOracle::rosterText(dump(), own);
    ASSERT_TRUE(DataFile::writeBytes(m_session.appDir + QStringLiteral("OVEKMAP_DATA_") + own +
                                         QStringLiteral(".txt"),
                                     RosterOracle::codePage932Bytes(roster + QStringLiteral("\r\n"))));
    int inboxLoads = 0;
    m_beforeNavigate = [&](const QString &address) {
        if (address.contains(QStringLiteral("/message/inbox.php")))
            ++inboxLoads;
    };

    // Without letters every member is a non-replier, read from one load.
    m_site.control(QStringLiteral("inbox-pages?count=0"));
    EXPECT_EQ(check(QStringLiteral("キーワード")), expectedResult(dump(), own, QString()));
    EXPECT_EQ(inboxLoads, 1);

    // Twelve pages: ten are read, and the result says the rest were not.
    m_site.control(QStringLiteral("inbox-pages?count=12"));
    inboxLoads = 0;
    EXPECT_EQ(check(QStringLiteral("キーワード")),
              expectedResult(dump(), own, QString()) +
                  QStringLiteral("※受信箱の 11 ページ目以降は読んでいません\r\n"));
    EXPECT_EQ(inboxLoads, 10);
    m_beforeNavigate = nullptr;
}

} // namespace
