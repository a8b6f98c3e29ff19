// End to end: the member activity history over two runs against demosite,
// chromedriver and a headless Chromium, with two members' points changed
// between the runs through the demo site's control endpoint.
#include "alliance/activitycommand.h"
#include "alliance/pacer.h"
#include "common/dates.h"
#include "common/pump.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/session.h"
#include "site/startup.h"
#include "site/webdriverbrowser.h"
#include "testsupport/alliance/recordingtoolport.h"
#include "testsupport/alliance/rosteroracle.h"
#include "testsupport/common/fakeclock.h"
#include "testsupport/common/qtprinters.h"
#include "testsupport/site/demositeprocess.h"
#include "testsupport/x11/testapplication.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class NoPause : public Pacer
{
public:
    void startTicks() override {}
    void waitForTicks() override {}
};

struct Lord
{
    QString name;
    qint64 points = 0;
};

class ActivityEndToEnd : public ::testing::Test
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
    }

    void TearDown() override { m_browsers.quit(); }

    QJsonObject dump() const
    {
        return QJsonDocument::fromJson(m_site.control(QStringLiteral("dump"))).object();
    }

    // The own alliance's members in member-table order, from the dump.
    QList<std::pair<int, Lord>> members(const QJsonObject &world, const QString &allianceId) const
    {
        QHash<int, Lord> lords;
        for (const QJsonValue &lord : world[QStringLiteral("lords")].toArray()) {
            lords.insert(
                lord[QStringLiteral("user_id")].toInt(),
                {lord[QStringLiteral("name")].toString(), lord[QStringLiteral("points")].toInteger()});
        }
        QList<std::pair<int, Lord>> result;
        for (const QJsonValue &alliance : world[QStringLiteral("alliances")].toArray()) {
            if (QString::number(alliance[QStringLiteral("id")].toInt()) != allianceId)
                continue;
            for (const QJsonValue &id : alliance[QStringLiteral("member_ids")].toArray())
                result.append({id.toInt(), lords.value(id.toInt())});
        }
        return result;
    }

    void runActivity()
    {
        NoPause pacer;
        CommandContext context{m_session, *m_navigator, m_browsers, pacer, m_port};
        ActivityCommand(context, m_today).run();
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
    FakeClock m_today;
    EventLoopPump m_pump;
    std::unique_ptr<Navigator> m_navigator;
    RecordingToolPort m_port;
};

TEST_F(ActivityEndToEnd, TwoRunsListExactlyTheMembersWhosePointsDidNotMove)
{
    StartupSequence(m_session, m_browsers, *m_navigator, m_pump).run();
    const QString allianceId = m_session.allianceId;
    const QList<std::pair<int, Lord>> before = members(dump(), allianceId);
    ASSERT_EQ(before.size(), 30);

    m_today.setDate(QDate(2024, 4, 1));
    runActivity();
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(m_port.messages[0].startsWith(QStringLiteral("同盟員活動状況|判定不能")));
    EXPECT_EQ(m_port.text, QString());

    // Two members play on between the runs.
    QList<int> moved;
    for (qsizetype at : {2, 17}) {
        moved.append(before.at(at).first);
        m_site.control(QStringLiteral("set-points?user_id=%1&points=%2")
                           .arg(before.at(at).first)
                           .arg(before.at(at).second.points + 25));
    }
    const QList<std::pair<int, Lord>> after = members(dump(), allianceId);

    m_today.setDate(QDate(2024, 4, 4));
    runActivity();
    const QString firstDay = Dates::shortDate(QDate(2024, 4, 1));
    const QString lastDay = Dates::shortDate(QDate(2024, 4, 4));
    QString listed;
    QString file;
    for (const auto &[id, lord] : after) {
        const QString points = QString::number(lord.points);
        const bool active = moved.contains(id);
        if (!active)
            listed += lord.name + QStringLiteral("<<") + points + QStringLiteral("<<") + firstDay +
                      QStringLiteral("\r\n");
        file += lord.name + QStringLiteral("%") + points + QStringLiteral("%") +
                (active ? lastDay : firstDay) + QStringLiteral("\r\n");
    }
    EXPECT_EQ(m_port.text,
              QStringLiteral("28人の同盟員が、前回調査時より、\r\n"
                             "同盟ポイントに変動がなく、活動停止状態です｡ \r\n"
                             "以下、活動停止中の同盟員・・・氏名<<同盟ポイント<<最終確認日\r\n") +
                  listed);
    EXPECT_EQ(m_port.messages.size(), 1) << m_port.messages.join(u'\n').toStdString();

    QFile history(m_session.appDir + QStringLiteral("同盟ポイントDATA_") + allianceId +
                  QStringLiteral(".txt"));
    ASSERT_TRUE(history.open(QIODevice::ReadOnly));
    const QByteArray bytes = history.readAll();
    EXPECT_EQ(bytes, RosterOracle::codePage932Bytes(file));
    EXPECT_TRUE(bytes.contains("&#")) << "the world holds a name the code page cannot: kept as a reference";
}

} // namespace
