// The survey: one load of each profile, and from it what the roster, the
// report and the castle list commands make of the same pages.
#include "alliance/commands/alliancereportcommand.h"
#include "alliance/commands/branchcastlecommand.h"
#include "alliance/commands/rostercommand.h"
#include "alliance/commands/surveycommand.h"
#include "alliance/rules/surveyoutputs.h"
#include "common/datafile.h"
#include "common/rosterfile.h"
#include "testsupport/alliance/commandfixture.h"
#include "testsupport/alliance/recordinghistory.h"
#include "testsupport/common/qtprinters.h"

#include <QDir>
#include <QFile>

namespace {

// A whole profile: the lord's figures, the home castle and the fief section
// with a branch castle or without one.
QString wholeProfile(const QString &name, int population, const QString &role, int x, int y,
                     const QString &castle = {})
{
    QString page = PageFixtures::lordProfilePage(name, QString::number(population),
                                                 QString::number(population * 3), role, x, y);
    const QString castleRow =
        castle.isEmpty()
            ? QString()
            : QStringLiteral("<table><tr><td>出城</td><td><a href=\"/land.php?x=1&y=2\">%1</a></td>"
                             "<td><a href=\"/land.php?x=1&y=2\">%2,%3</a></td></tr></table>")
                  .arg(castle)
                  .arg(x + 3)
                  .arg(y - 2);
    page.replace(QStringLiteral("</body>"), castleRow + QStringLiteral("\n<!-- /領地情報 --></body>"));
    return page;
}

class SurveyCommandTest : public CommandFixture
{
protected:
    SurveyCommandTest()
    {
        m_context.history = &m_history;
        serveAlliance({{1, QStringLiteral("織田信長"), {}},
                       {2, QStringLiteral("豊臣 秀吉"), {}},
                       {3, QStringLiteral("凛"), {}}});
        browser().addPage(profileAddress(1),
                          wholeProfile(QStringLiteral("織田信長"), 1200, QStringLiteral("盟主"), 10, 20,
                                       QStringLiteral("清洲出城")));
        browser().addPage(profileAddress(2),
                          wholeProfile(QStringLiteral("豊臣 秀吉"), 900, QStringLiteral("盟主補佐"), -5, 6));
        browser().addPage(profileAddress(3),
                          wholeProfile(QStringLiteral("凛"), 300, QStringLiteral("一般"), 0, -180));
    }

    QString survey()
    {
        m_port.text.clear();
        SurveyCommand(m_context, m_clock, QStringLiteral("300"), QStringLiteral("10000")).run();
        return m_port.text;
    }
    QByteArray rosterBytes() const
    {
        QFile file(m_session.appDir + RosterFile::fileName(QStringLiteral("7")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    RecordingHistory m_history;
};

TEST_F(SurveyCommandTest, EachOutputIsWhatItsOwnCommandMakesOfTheSamePagesFromOneLoadEach)
{
    RosterCommand(m_context).run();
    const QString roster = m_port.text;
    const QByteArray rosterFile = rosterBytes();
    AllianceReportCommand(m_context, m_clock, QStringLiteral("7"), QStringLiteral("300"),
                          QStringLiteral("10000"))
        .run();
    const QString report = m_port.text;
    ListBranchCastles(m_context, m_clock);
    const QString castles = m_port.text;
    ASSERT_TRUE(m_port.messages.isEmpty()) << m_port.messages.join(u'\n').toStdString();
    QFile::remove(m_session.appDir + RosterFile::fileName(QStringLiteral("7")));
    const int loadsBefore = browser().loadCount(profileAddress(2));

    const std::optional<SurveyOutputs::Outputs> outputs = SurveyOutputs::outputsOf(survey());
    ASSERT_TRUE(outputs) << m_port.text.toStdString();
    EXPECT_EQ(outputs->roster, roster);
    EXPECT_EQ(outputs->report, report);
    EXPECT_EQ(outputs->castles, castles);
    EXPECT_EQ(rosterBytes(), rosterFile);
    EXPECT_EQ(browser().loadCount(profileAddress(2)) - loadsBefore, 1);
    EXPECT_EQ(m_port.progress.last(), QStringLiteral("一括調査 3/3"));
    EXPECT_TRUE(m_port.messages.isEmpty());

    // One snapshot of the survey with every reading of every member.
    const Snapshot &snapshot = m_history.snapshots.last();
    EXPECT_EQ(snapshot.command, QStringLiteral("survey"));
    ASSERT_EQ(snapshot.members.size(), 3);
    const MemberReading &hideyoshi = snapshot.members.at(1);
    EXPECT_EQ(hideyoshi.userId, QStringLiteral("2"));
    EXPECT_EQ(hideyoshi.x, -5);
    EXPECT_EQ(hideyoshi.y, 6);
    EXPECT_EQ(hideyoshi.population, 900);
    EXPECT_EQ(hideyoshi.merit, 2700);
    EXPECT_EQ(hideyoshi.role, QStringLiteral("盟主補佐"));
    EXPECT_EQ(hideyoshi.fiefCount, 3);
}

TEST_F(SurveyCommandTest, AProfileThatNeverComesWholeIsNamedOnceAndKeepsItsRosterLine)
{
    RosterCommand(m_context).run();
    const QString previousLine = RosterFile::line(QStringLiteral("豊臣秀吉"), QStringLiteral("-5,6"));
    ASSERT_TRUE(m_port.text.contains(previousLine)) << m_port.text.toStdString();
    browser().addPage(profileAddress(2), PageFixtures::profilePageWithoutHome());
    m_port.messages.clear();
    const int loadsBefore = browser().loadCount(profileAddress(2));

    const std::optional<SurveyOutputs::Outputs> outputs = SurveyOutputs::outputsOf(survey());
    ASSERT_TRUE(outputs);
    EXPECT_EQ(browser().loadCount(profileAddress(2)) - loadsBefore, 5);
    EXPECT_TRUE(outputs->roster.contains(previousLine)) << "carried over as the roster command does";
    EXPECT_TRUE(outputs->report.contains(QStringLiteral("豊臣秀吉"))) << outputs->report.toStdString();
    EXPECT_TRUE(outputs->castles.contains(QStringLiteral("※プロフィールを読めなかった同盟員: 豊臣秀吉")));
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_EQ(m_port.messages.first().count(QStringLiteral("豊臣秀吉")), 1)
        << m_port.messages.first().toStdString();
}

TEST_F(SurveyCommandTest, AProfileThatComesInPiecesKeepsTheFirstLoadsHomeCastleWithoutAnotherLoad)
{
    // The first load shows the home castle but not yet the population, the
    // second the population but no longer the home castle.
    QString withoutPopulation =
        wholeProfile(QStringLiteral("豊臣 秀吉"), 900, QStringLiteral("盟主補佐"), -5, 6);
    const qsizetype row = withoutPopulation.indexOf(QStringLiteral("<tr><th>人口数</th>"));
    ASSERT_GE(row, 0);
    withoutPopulation.remove(row, withoutPopulation.indexOf(QStringLiteral("</tr>"), row) + 5 - row);
    QString withoutHome = wholeProfile(QStringLiteral("豊臣 秀吉"), 900, QStringLiteral("盟主補佐"), -5, 6);
    ASSERT_TRUE(withoutHome.contains(QStringLiteral("城(本拠地)")));
    withoutHome.replace(QStringLiteral("城(本拠地)"), QStringLiteral("城"));
    FakeBrowser::Page pieces;
    pieces.htmlPerLoad = QStringList{withoutPopulation, withoutHome};
    browser().addPage(profileAddress(2), pieces);

    const std::optional<SurveyOutputs::Outputs> outputs = SurveyOutputs::outputsOf(survey());
    ASSERT_TRUE(outputs) << m_port.text.toStdString();
    EXPECT_EQ(browser().loadCount(profileAddress(2)), 2) << "no load after the page was whole";
    EXPECT_TRUE(
        outputs->roster.contains(RosterFile::line(QStringLiteral("豊臣秀吉"), QStringLiteral("-5,6"))))
        << outputs->roster.toStdString();
    EXPECT_TRUE(outputs->report.contains(QStringLiteral("900"))) << outputs->report.toStdString();
    EXPECT_FALSE(m_port.text.contains(QStringLiteral("読めなかった"))) << m_port.text.toStdString();
    EXPECT_TRUE(m_port.messages.isEmpty()) << m_port.messages.join(u'\n').toStdString();
}

TEST_F(SurveyCommandTest, ARosterThatCannotBeWrittenStillShowsTheOutputsAndSaysWhyThePreviousStays)
{
    // A folder where the roster should go: it cannot be replaced.
    ASSERT_TRUE(QDir().mkpath(m_session.appDir + RosterFile::fileName(QStringLiteral("7"))));
    const std::optional<SurveyOutputs::Outputs> outputs = SurveyOutputs::outputsOf(survey());
    ASSERT_TRUE(outputs) << m_port.text.toStdString();
    EXPECT_TRUE(outputs->roster.contains(QStringLiteral("織田信長")));
    EXPECT_TRUE(outputs->report.contains(QStringLiteral("織田信長")));
    EXPECT_TRUE(outputs->castles.contains(QStringLiteral(" 作成"))) << outputs->castles.toStdString();
    ASSERT_EQ(m_port.messages.size(), 1);
    const QString &told = m_port.messages.first();
    EXPECT_TRUE(
        told.contains(QStringLiteral("同盟員名簿を保存できませんでした。前回の名簿はそのまま残っています。")))
        << told.toStdString();
    EXPECT_TRUE(
        told.contains(RosterFile::fileName(QStringLiteral("7")) + QStringLiteral(" を保存できません: ")))
        << "and why" << told.toStdString();
}

} // namespace
