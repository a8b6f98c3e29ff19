// End to end: the alliance report of demosite's largest alliance, through
// the real start-up walk, chromedriver and a headless Chromium, compared
// with the report the world dump implies.
#include "alliance/commands/alliancereportcommand.h"
#include "testsupport/alliance/endtoendfixture.h"
#include "testsupport/alliance/rosteroracle.h"
#include "testsupport/common/fakeclock.h"

#include <QJsonArray>
#include <QMap>

namespace {

// The report written straight from the dump, apart from the tool's readers
// and builder: the members in table order, their names as the member table
// shows them (no ASCII blank), the roles with the brackets of the report.
QString expectedReport(const QJsonObject &dump, const QJsonObject &alliance, const QString &today,
                       QStringList *names)
{
    const QList<QJsonObject> lords = RosterOracle::members(dump, alliance);
    long long population = 0;
    long long merit = 0;
    QString populationBars;
    QString meritBars;
    QMap<QString, QString> leaders;
    int quarters[4] = {0, 0, 0, 0};
    int fiefs[8] = {};
    for (const QJsonObject &lord : lords) {
        QString name = lord[QStringLiteral("name")].toString();
        name.remove(u' ');
        names->append(name + u'/');
        const int p = lord[QStringLiteral("population")].toInt();
        const int q = lord[QStringLiteral("merit")].toInt();
        population += p;
        merit += q;
        populationBars += QString(p / 300, u'*') + QStringLiteral("<<%1:%2\r\n").arg(p).arg(name);
        meritBars += QString(q / 10000, u'*') + QStringLiteral("<<%1:%2\r\n").arg(q).arg(name);
        const int x = lord[QStringLiteral("x")].toInt();
        const int y = lord[QStringLiteral("y")].toInt();
        ++quarters[x > 0 ? (y > 0 ? 0 : 1) : (y > 0 ? 2 : 3)];
        const QString role = lord[QStringLiteral("role")].toString();
        const QString line = QStringLiteral(":%1(%2,%3)").arg(name).arg(x).arg(y);
        if (role == QStringLiteral("盟主"))
            leaders[QStringLiteral("0")] = QStringLiteral("盟主") + line;
        else if (role == QStringLiteral("盟主補佐（一）"))
            leaders[QStringLiteral("1")] = QStringLiteral("盟主補佐(一)") + line;
        else if (role == QStringLiteral("盟主補佐（二）"))
            leaders[QStringLiteral("2")] = QStringLiteral("盟主補佐(二)") + line;
        const qsizetype fiefCount = lord[QStringLiteral("fiefs")].toArray().size();
        if (fiefCount >= 1 && fiefCount <= 7)
            ++fiefs[fiefCount];
    }
    auto number = [](long long n) { return n < 0 ? QString::number(n) : u' ' + QString::number(n); };
    const qsizetype m = lords.size();
    QString text = QStringLiteral("[%1]同盟 レポート %2作成\r\n同盟規模 %3(%4位)\r\n")
                       .arg(alliance[QStringLiteral("name")].toString(), today)
                       .arg(m)
                       .arg(alliance[QStringLiteral("rank")].toInt());
    text += QStringList(leaders.values()).join(QStringLiteral("　")) + QStringLiteral("\r\n\r\n");
    text += QStringLiteral("★人口について・・・\r\n総人口") + number(population) +
            QStringLiteral("　平均一城主あたり") + number(population / m) +
            QStringLiteral("\r\n人口分布 *1つにつき300人\r\n") + populationBars + QStringLiteral("\r\n\r\n");
    text += QStringLiteral("★戦功について・・・\r\n総戦功") + number(merit) +
            QStringLiteral("　平均一城主あたり") + number(merit / m) +
            QStringLiteral("\r\n戦功分布　*1つにつき10000\r\n") + meritBars +
            QStringLiteral("\r\n\r\n★所領数分布・・・\r\n");
    static const char16_t *const wide[] = {u"", u"１", u"２", u"３", u"４", u"５", u"６", u"７"};
    for (int n = 7; n >= 1; --n) {
        if (fiefs[n] > 0)
            text += QStringLiteral("所領数") + QString::fromUtf16(wide[n]) + QStringLiteral("の城主") +
                    number(fiefs[n]) + QStringLiteral("\r\n");
    }
    text += QStringLiteral("\r\n\r\n★本城分布・・・\r\n北東(+○,+○)") + number(quarters[0]) +
            QStringLiteral("\r\n南東(+○,-○)") + number(quarters[1]) + QStringLiteral("\r\n北西(-○,+○)") +
            number(quarters[2]) + QStringLiteral("\r\n南西(-○,-○)") + number(quarters[3]) +
            QStringLiteral("\r\n");
    return text;
}

class AllianceReportEndToEnd : public EndToEndFixture
{
protected:
    QStringList siteOptions() const override
    {
        return {QStringLiteral("--auto-login"), QStringLiteral("--seed"), QStringLiteral("11")};
    }

    bool startsUpInSetUp() const override { return true; }
    void SetUp() override
    {
        EndToEndFixture::SetUp();
        if (HasFatalFailure())
            return;
        m_dump = dump();
    }

    // The alliance of the dump at this index, and the report the tool makes of it.
    QJsonObject alliance(int index) const
    {
        return m_dump[QStringLiteral("alliances")].toArray().at(index).toObject();
    }
    void report(const QJsonObject &alliance)
    {
        AllianceReportCommand(context(), m_today, QString::number(alliance[QStringLiteral("id")].toInt()),
                              QStringLiteral("300"), QStringLiteral("10000"))
            .run();
    }

    // The report's date.
    FakeClock m_today{12 * 3600, QDate(2024, 4, 1)};
    QJsonObject m_dump;
};

TEST_F(AllianceReportEndToEnd, TheLargestAllianceReportsWhatTheWorldHolds)
{
    const QJsonObject largest = alliance(0);
    ASSERT_GT(largest[QStringLiteral("member_ids")].toArray().size(), 300);
    report(largest);
    QStringList names;
    const QString expected = expectedReport(m_dump, largest, m_today.todayText(), &names);
    EXPECT_TRUE(m_port.messages.isEmpty()) << m_port.messages.join(u'\n').toStdString();
    const QStringList got = m_port.text.split(QStringLiteral("\r\n"));
    const QStringList want = expected.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < std::min(got.size(), want.size()); ++i)
        ASSERT_EQ(got[i], want[i]) << "line " << i + 1;
    EXPECT_EQ(got.size(), want.size());
    EXPECT_EQ(m_port.listItems, names);
    EXPECT_TRUE(expected.contains(QStringLiteral("盟主補佐(一):")) &&
                expected.contains(QStringLiteral("盟主補佐(二):")));
}

TEST_F(AllianceReportEndToEnd, AProfileMissingItsMarkerTwiceIsReadOnTheThirdLoad)
{
    // The fifth alliance has a leader and only the second sub-leader.
    const QJsonObject small = alliance(4);
    m_site.control(QStringLiteral("miss-marker?path=/user/&count=2"));
    report(small);
    QStringList names;
    EXPECT_TRUE(m_port.messages.isEmpty()) << m_port.messages.join(u'\n').toStdString();
    EXPECT_EQ(m_port.text, expectedReport(m_dump, small, m_today.todayText(), &names));
    EXPECT_EQ(m_port.listItems, names);
}

TEST_F(AllianceReportEndToEnd, AnUnreadMemberIsNamedInTheReportAndAnUnreadLeaderKeepsTheRolesPlace)
{
    const QJsonObject small = alliance(4);
    const QJsonArray ids = small[QStringLiteral("member_ids")].toArray();
    // The next five profile loads come without the profile: all of them fall
    // on the first member, who is then left out.
    m_site.control(QStringLiteral("miss-marker?path=/user/&count=5"));
    report(small);
    QJsonObject first;
    for (const QJsonValue lord : m_dump[QStringLiteral("lords")].toArray()) {
        if (lord[QStringLiteral("user_id")].toInt() == ids.first().toInt())
            first = lord.toObject();
    }
    const QString name = RosterOracle::tableName(first);
    const QStringList lines = m_port.text.split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 5) << m_port.text.toStdString();
    EXPECT_EQ(lines.at(2), QStringLiteral("※同盟員 %1人のうち、プロフィールを読めた %2人分の集計です")
                               .arg(ids.size())
                               .arg(ids.size() - 1));
    EXPECT_EQ(lines.at(3), QStringLiteral("※プロフィールを読めなかった同盟員: ") + name);
    if (first[QStringLiteral("role")].toString() == QStringLiteral("盟主"))
        EXPECT_TRUE(lines.at(4).startsWith(QStringLiteral("盟主:（未読）"))) << lines.at(4).toStdString();
    else
        EXPECT_FALSE(lines.at(4).contains(QStringLiteral("（未読）"))) << lines.at(4).toStdString();
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(m_port.messages.first().contains(name + QStringLiteral("\r\n\r\n「プロフィール」のページに")))
        << m_port.messages.first().toStdString();
}

} // namespace
