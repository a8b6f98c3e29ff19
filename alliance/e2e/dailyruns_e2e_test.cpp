// End to end: what a run nobody watched leaves for the leader. The real
// program run with --run against demosite, its output a pipe as under a
// timer: one desktop notification when the login is gone or members joined
// and left, none when all is as before; a record of every run, which the
// tool window tells at start and 「記録の履歴」 lists.
#include "alliance/console/runoutcome.h"
#include "alliance/window/toolwindow.h"
#include "common/rosterfile.h"
#include "history/historystore.h"
#include "testsupport/alliance/notificationlistener.h"
#include "testsupport/alliance/unattendedfixture.h"
#include "testsupport/common/qtprinters.h"

#include <QAction>
#include <QDialog>
#include <QJsonObject>
#include <QTableWidget>

namespace {

class DailyRunsEndToEnd : public UnattendedEndToEnd
{
protected:
    // Names as the member table reads them: without their blanks.
    QString memberName(const QJsonObject &next, const char *key) const
    {
        return lordName(next[QLatin1String(key)].toInt()).remove(u' ');
    }
};

TEST_F(DailyRunsEndToEnd, ARunNobodyWatchedTellsTheDesktopOfALostLoginAndOfJoinsAndLeavesAndOfNothingElse)
{
    NotificationListener desktop;
    ASSERT_FALSE(desktop.address().isEmpty()) << desktop.problem().toStdString();
    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), desktop.address());

    Ended ended = run(QStringLiteral("roster"));
    ASSERT_EQ(ended.code, 0) << ended.err.toStdString();
    ended = run(QStringLiteral("roster"));
    ASSERT_EQ(ended.code, 0) << ended.err.toStdString();
    EXPECT_EQ(desktop.received(), QStringList()) << "the first reading and one like it are no news";

    const QJsonObject next = QJsonDocument::fromJson(m_site.control(QStringLiteral("advance-day"))).object();
    ended = run(QStringLiteral("roster"));
    ASSERT_EQ(ended.code, 0) << ended.err.toStdString();
    ASSERT_EQ(desktop.received().size(), 1);
    EXPECT_EQ(desktop.received().first(),
              QStringLiteral("ovekwarden w003: 同盟に変化があります|加入: %1\n脱退: %2")
                  .arg(memberName(next, "joined"), memberName(next, "left")));

    m_site.control(QStringLiteral("expire-login"));
    ended = run(QStringLiteral("roster"), 60000);
    EXPECT_EQ(ended.code, 3) << ended.err.toStdString();
    ASSERT_EQ(desktop.received().size(), 2);
    EXPECT_EQ(desktop.received().last(),
              QStringLiteral(
                  "ovekwarden w003: ログインが切れていました|ovekwarden を起動してログインしてください"));
}

TEST_F(DailyRunsEndToEnd,
       ThreeRunsEndingZeroOneAndThreeAreRecordedTheWindowTellsTheLastAndTheHistoryListsThemAll)
{
    ASSERT_EQ(run(QStringLiteral("roster,activity")).code, 0);
    // A folder where the roster goes: the roster cannot be saved, the record of points can.
    ASSERT_TRUE(QFile::remove(appFile(RosterFile::fileName(m_own))));
    ASSERT_TRUE(QDir().mkpath(appFile(RosterFile::fileName(m_own))));
    const Ended stopped = run(QStringLiteral("roster,activity"));
    ASSERT_EQ(stopped.code, 1) << stopped.err.toStdString();
    ASSERT_TRUE(QDir(appFile(RosterFile::fileName(m_own))).removeRecursively());
    m_site.control(QStringLiteral("expire-login"));
    ASSERT_EQ(run(QStringLiteral("roster"), 60000).code, 3);

    HistoryStore history(worldDir());
    const QList<RunRecord> runs = history.runs().value;
    ASSERT_EQ(runs.size(), 3);
    QList<int> codes;
    for (const RunRecord &run : runs)
        codes << run.exitCode;
    EXPECT_EQ(codes, QList<int>({3, 1, 0}));
    EXPECT_EQ(runs.at(2).memberCount, 5);
    EXPECT_EQ(runs.at(2).results,
              QStringList({QStringLiteral("roster: 5 members, ") + RosterFile::fileName(m_own),
                           QStringLiteral("activity: 5 members, 同盟ポイントDATA_%1.txt").arg(m_own)}));
    EXPECT_TRUE(runs.at(1).results.first().contains(QStringLiteral("を保存できません")))
        << runs.at(1).results.first().toStdString();
    EXPECT_TRUE(runs.at(0).warnings.contains(
        QStringLiteral("ログインが切れています。ovekwarden を起動してログインしてください。")));
    for (const RunRecord &run : runs)
        EXPECT_LE(run.startedAt, run.endedAt);

    // The tool window over that world's folder.
    Session world = m_session;
    world.appDir = worldDir();
    OVEKMark window(world, m_browsers, *m_navigator, m_pump, m_clock);
    window.Form_Load();
    EXPECT_EQ(window.windowTitle(),
              QStringLiteral("同盟管理ツール - ") + RunOutcome::lastRunLine(runs.first()));
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral("ログインが切れていました")));
    window.findChild<QAction *>(QStringLiteral("mnuRunHistory"))->trigger();
    auto *table = window.findChild<QTableWidget *>(QStringLiteral("tblRuns"));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rowCount(), 3);
    QStringList outcomes;
    for (int row = 0; row < 3; ++row)
        outcomes << table->item(row, 3)->text();
    EXPECT_EQ(outcomes,
              QStringList({QStringLiteral("ログインが切れていました"),
                           QStringLiteral("一部のコマンドが止まりました"), QStringLiteral("完了")}));
}

} // namespace
