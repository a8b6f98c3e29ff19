// End to end: the survey against demosite, chromedriver and a headless
// Chromium gives the roster file, the report and the castle list the three
// single commands give on the same world, and one snapshot of every reading.
#include "alliance/commands/alliancereportcommand.h"
#include "alliance/commands/branchcastlecommand.h"
#include "alliance/commands/rostercommand.h"
#include "alliance/commands/surveycommand.h"
#include "alliance/rules/surveyoutputs.h"
#include "common/rosterfile.h"
#include "testsupport/alliance/endtoendfixture.h"
#include "testsupport/alliance/recordinghistory.h"
#include "testsupport/common/fakeclock.h"
#include "testsupport/common/qtprinters.h"

#include <QFile>
#include <QJsonArray>

namespace {

class SurveyEndToEnd : public EndToEndFixture
{
protected:
    QStringList siteOptions() const override { return demoOptions(12); }
    bool startsUpInSetUp() const override { return true; }

    QByteArray rosterBytes() const
    {
        QFile file(m_session.appDir + RosterFile::fileName(m_session.allianceId));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }

    FakeClock m_listClock{10 * 3600, QDate(2026, 12, 7)};
    RecordingHistory m_history;
};

TEST_F(SurveyEndToEnd, MakesWhatTheThreeCommandsMakeAndRecordsEveryReadingOnce)
{
    RosterCommand(context()).run();
    const QString roster = m_port.text;
    const QByteArray rosterFile = rosterBytes();
    AllianceReportCommand(context(), m_listClock, m_session.allianceId, QStringLiteral("300"),
                          QStringLiteral("10000"))
        .run();
    const QString report = m_port.text;
    ListBranchCastles(context(), m_listClock);
    const QString castles = m_port.text;
    QFile::remove(m_session.appDir + RosterFile::fileName(m_session.allianceId));

    context().history = &m_history;
    m_port.progress.clear();
    SurveyCommand(context(), m_listClock, QStringLiteral("300"), QStringLiteral("10000")).run();
    const std::optional<SurveyOutputs::Outputs> outputs = SurveyOutputs::outputsOf(m_port.text);
    ASSERT_TRUE(outputs) << m_port.text.toStdString();
    EXPECT_EQ(outputs->roster, roster);
    EXPECT_EQ(outputs->report, report);
    EXPECT_EQ(outputs->castles, castles);
    EXPECT_EQ(rosterBytes(), rosterFile);
    EXPECT_TRUE(m_port.progress.contains(QStringLiteral("一括調査 12/12")));

    ASSERT_EQ(m_history.snapshots.size(), 1);
    const Snapshot &snapshot = m_history.snapshots.first();
    EXPECT_EQ(snapshot.command, QStringLiteral("survey"));
    ASSERT_EQ(snapshot.members.size(), 12);
    for (const MemberReading &member : snapshot.members) {
        SCOPED_TRACE(member.name.toStdString());
        const QJsonObject lord = [&] {
            for (const QJsonValue value : dump()[QStringLiteral("lords")].toArray()) {
                if (QString::number(value[QStringLiteral("user_id")].toInt()) == member.userId)
                    return value.toObject();
            }
            return QJsonObject();
        }();
        ASSERT_FALSE(lord.isEmpty());
        EXPECT_EQ(member.x, lord[QStringLiteral("x")].toInt());
        EXPECT_EQ(member.y, lord[QStringLiteral("y")].toInt());
        // The member table's points: a survey alone tells 「推移」 who stood still.
        EXPECT_EQ(member.points, lord[QStringLiteral("points")].toInteger());
        EXPECT_EQ(member.population, lord[QStringLiteral("population")].toInt());
        EXPECT_EQ(member.merit, lord[QStringLiteral("merit")].toInt());
        EXPECT_TRUE(member.role.has_value());
        EXPECT_EQ(member.fiefCount, lord[QStringLiteral("fiefs")].toArray().size());
    }
}

} // namespace
