// End to end: the reply checker against demosite, chromedriver and a
// headless Chromium, compared with what the world's inbox implies.
#include "alliance/pacer.h"
#include "alliance/replycheckercommand.h"
#include "common/clock.h"
#include "common/datafile.h"
#include "common/pump.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/session.h"
#include "site/startup.h"
#include "site/webdriverbrowser.h"
#include "testsupport/alliance/recordingtoolport.h"
#include "testsupport/alliance/rosteroracle.h"
#include "testsupport/site/demositeprocess.h"
#include "testsupport/x11/testapplication.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class NoPause : public Pacer
{
public:
    void startTicks() override {}
    void waitForTicks() override {}
};

// The result the world's inbox implies, worked out from the dump alone: the
// letter table's rows read "subject sender date", members are known by their
// names without blanks, the operator never counts.
QString expectedResult(const QJsonObject &world, const QString &allianceId, const QString &keyword)
{
    QHash<int, QString> ownNames;
    QStringList roster;
    for (const QJsonValue alliance : world[QStringLiteral("alliances")].toArray()) {
        if (QString::number(alliance[QStringLiteral("id")].toInt()) != allianceId)
            continue;
        for (const QJsonValue id : alliance[QStringLiteral("member_ids")].toArray())
            ownNames.insert(id.toInt(), QString());
    }
    for (const QJsonValue lord : world[QStringLiteral("lords")].toArray()) {
        const int id = lord[QStringLiteral("user_id")].toInt();
        if (ownNames.contains(id))
            ownNames[id] = lord[QStringLiteral("name")].toString().remove(u' ').remove(u'"');
    }
    for (const QJsonValue alliance : world[QStringLiteral("alliances")].toArray()) {
        if (QString::number(alliance[QStringLiteral("id")].toInt()) == allianceId) {
            for (const QJsonValue id : alliance[QStringLiteral("member_ids")].toArray())
                roster.append(ownNames.value(id.toInt()));
        }
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

class ReplyCheckerEndToEnd : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ensureTestApplication(); }

    void SetUp() override
    {
        ASSERT_TRUE(m_appDir.isValid() && m_profile.isValid());
        m_site.start({QStringLiteral("--auto-login"), QStringLiteral("--seed"), QStringLiteral("7")});
        m_session.world.gameSiteTopUrl = m_site.topUrl();
        m_session.world.worldBaseUrl = m_site.worldUrl();
        m_session.world.worldNumber = QStringLiteral("3");
        m_session.world.warRankingKey = QStringLiteral("5");
        m_session.appDir = m_appDir.path() + QStringLiteral("/");
        m_navigator = std::make_unique<Navigator>(m_browsers, m_session.world, m_clock, m_pump);
        StartupSequence(m_session, m_browsers, *m_navigator, m_pump).run();
    }

    void TearDown() override { m_browsers.quit(); }

    QString check(const QString &keywordBox)
    {
        NoPause pacer;
        RecordingToolPort port;
        CommandContext context{m_session, *m_navigator, m_browsers, pacer, port};
        ReplyCheckCommand(context, keywordBox).run();
        EXPECT_TRUE(port.messages.isEmpty()) << port.messages.join(u'\n').toStdString();
        return port.text;
    }

    DemoSiteProcess m_site{QStringLiteral(OVEK_DEMOSITE_PROGRAM)};
    QTemporaryDir m_appDir;
    QTemporaryDir m_profile;
    Session m_session;
    BrowserSlot m_browsers{[this] {
        WebDriverOptions options;
        options.profileDir = m_profile.path();
        options.headless = true;
        options.noSandbox = true; // CI runs as root
        return std::make_unique<WebDriverBrowser>(options);
    }};
    SystemClock m_clock;
    EventLoopPump m_pump;
    std::unique_ptr<Navigator> m_navigator;
};

TEST_F(ReplyCheckerEndToEnd, RepliersAndNonRepliersMatchTheWorldsInbox)
{
    const QJsonObject world = QJsonDocument::fromJson(m_site.control(QStringLiteral("dump"))).object();
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

} // namespace
