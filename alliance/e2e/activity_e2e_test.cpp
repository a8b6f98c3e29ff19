// End to end: the member activity history over two runs against demosite,
// chromedriver and a headless Chromium, with two members' points changed
// between the runs through the demo site's control endpoint.
#include "alliance/commands/activitycommand.h"
#include "common/dates.h"
#include "testsupport/alliance/endtoendfixture.h"
#include "testsupport/alliance/rosteroracle.h"
#include "testsupport/common/fakeclock.h"
#include "testsupport/common/qtprinters.h"

#include <QFile>

namespace {

class ActivityEndToEnd : public EndToEndFixture
{
protected:
    void runActivity() { ActivityCommand(context(), m_today).run(); }

    FakeClock m_today;
};

TEST_F(ActivityEndToEnd, TwoRunsListExactlyTheMembersWhosePointsDidNotMove)
{
    startUp();
    const QString allianceId = m_session.allianceId;
    const QList<QJsonObject> before = RosterOracle::members(dump(), allianceId);
    ASSERT_EQ(before.size(), 30);

    m_today.setDate(QDate(2024, 4, 1));
    runActivity();
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(m_port.messages[0].startsWith(QStringLiteral("同盟員活動状況|判定不能")));
    EXPECT_EQ(m_port.text, QString());

    // Two members play on between the runs.
    QList<int> moved;
    for (qsizetype at : {2, 17}) {
        const int id = before.at(at)[QStringLiteral("user_id")].toInt();
        moved.append(id);
        m_site.control(QStringLiteral("set-points?user_id=%1&points=%2")
                           .arg(id)
                           .arg(before.at(at)[QStringLiteral("points")].toInteger() + 25));
    }
    const QList<QJsonObject> after = RosterOracle::members(dump(), allianceId);

    m_today.setDate(QDate(2024, 4, 4));
    runActivity();
    const QString firstDay = Dates::shortDate(QDate(2024, 4, 1));
    const QString lastDay = Dates::shortDate(QDate(2024, 4, 4));
    QString listed;
    QString file;
    for (const QJsonObject &lord : after) {
        const QString name = lord[QStringLiteral("name")].toString();
        const QString points = QString::number(lord[QStringLiteral("points")].toInteger());
        const bool active = moved.contains(lord[QStringLiteral("user_id")].toInt());
        if (!active)
            listed += name + QStringLiteral("<<") + points + QStringLiteral("<<") + firstDay +
                      QStringLiteral("\r\n");
        file += name + QStringLiteral("%") + points + QStringLiteral("%") + (active ? lastDay : firstDay) +
                QStringLiteral("\r\n");
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
