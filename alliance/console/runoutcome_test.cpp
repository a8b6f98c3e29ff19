// What a run without the window leaves for the leader: the news it found,
// the window's line and the desktop notification, and its record.
#include "alliance/console/desktopnotifier.h"
#include "alliance/console/runoutcome.h"
#include "alliance/console/runwitness.h"
#include "history/historystore.h"
#include "testsupport/common/coreapplication.h"
#include "testsupport/common/fakeclock.h"
#include "testsupport/common/qtprinters.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QDate kToday(2026, 12, 8);

IdleMember idle(const char *name, QDate lastMoved)
{
    IdleMember member;
    member.userId = QString::fromUtf8(name);
    member.name = QString::fromUtf8(name);
    member.lastMovedOn = lastMoved;
    member.days = static_cast<int>(lastMoved.daysTo(kToday));
    return member;
}

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

struct RecordingNotifier : DesktopNotifier
{
    void notify(const QString &summary, const QString &body) override { shown << summary + u'|' + body; }
    QStringList shown;
};

} // namespace

TEST(RunNewsTest, JoinsLeavesAndMembersNewlyIdleAreWhatTheRunAdded)
{
    const QString old = utf8("2026/12/01 加入 古参");
    RunNews::Before before{{old}, QDate(2026, 12, 7), 10};
    RunNews::After after;
    after.today = kToday;
    after.lastPointsSnapshot = 12;
    after.joinLeaveLog = {old, utf8("2026/12/08 加入 新人"), utf8("2026/12/08 脱退 去人")};
    after.idle = {idle("既に", QDate(2026, 11, 30)),    // idle at the reading before already
                  idle("今日から", QDate(2026, 12, 1)), // crossed 7 days with this run
                  idle("動く", QDate(2026, 12, 5)),
                  idle("休み", QDate(2026, 12, 1)),      // on leave until the 10th
                  idle("休み明け", QDate(2026, 12, 1))}; // leave over on the 5th
    after.notes = {{utf8("休み"), utf8("休み"), {}, QDate(2026, 12, 10)},
                   {utf8("休み明け"), utf8("休み明け"), {}, QDate(2026, 12, 5)}};
    const RunNews::News news = RunNews::compare(before, after, 7);
    EXPECT_EQ(news.joined, QStringList({utf8("新人")}));
    EXPECT_EQ(news.left, QStringList({utf8("去人")}));
    EXPECT_EQ(news.newlyIdle, QStringList({utf8("今日から"), utf8("休み明け")}));

    // No new reading of points, or none before: no idle news.
    for (const auto &[lastBefore, day] :
         {std::pair{qint64(12), QDate(2026, 12, 7)}, std::pair{qint64(0), QDate()}}) {
        const RunNews::News none = RunNews::compare({{old}, day, lastBefore}, after, 7);
        EXPECT_TRUE(none.newlyIdle.isEmpty());
        EXPECT_EQ(none.joined.size(), 1);
    }
    // A log made anew (a clock set back): the lines it did not hold.
    after.joinLeaveLog = {utf8("2026/11/30 加入 新人"), old};
    EXPECT_EQ(RunNews::compare(before, after, 7).joined, QStringList({utf8("新人")}));
    after.joinLeaveLog = {old};
    after.idle.clear();
    EXPECT_TRUE(RunNews::compare(before, after, 7).isEmpty());
}

TEST(RunOutcomeTest, TheWindowsLineAndTheNotificationSayHowTheRunEndedWhatToDoAndWhatIsNew)
{
    const QDateTime at(kToday, QTime(5, 30));
    RunNews::News joins;
    joins.joined = {utf8("甲"), utf8("乙"), utf8("丙"), utf8("丁"), utf8("戊")};
    joins.left = {utf8("己")};
    RunNews::News idleOnly;
    idleOnly.idleDays = 7;
    idleOnly.newlyIdle = {utf8("庚")};
    const struct
    {
        RunRecord record;
        RunNews::News news;
        QString line;
        QString notice; // summary|body; empty: none
    } cases[] = {
        {{at, at, {}, 0, 30, {}, {}}, {}, utf8("前回の自動記録: 12/08 05:30 完了（30名）"), {}},
        {{at, at, {}, 0, -1, {}, {}},
         idleOnly,
         utf8("前回の自動記録: 12/08 05:30 完了"),
         utf8("ovekwarden w003: 同盟に変化があります|7日以上動きのない人: 庚")},
        {{at, at, {}, 0, 31, {}, {}},
         joins,
         utf8("前回の自動記録: 12/08 05:30 完了（31名）"),
         utf8("ovekwarden w003: 同盟に変化があります|加入: 甲、乙、丙 ほか2名\n脱退: 己")},
        {{at,
          at,
          {},
          3,
          -1,
          {},
          {utf8("ログインが切れています。ovekwarden を起動してログインしてください。")}},
         {},
         utf8("前回の自動記録: 12/08 05:30 ログインが切れていました"),
         utf8("ovekwarden w003: ログインが切れていました|ovekwarden を起動してログインしてください")},
        {{at,
          at,
          {},
          1,
          30,
          {utf8("roster: 30 members, A.txt"), utf8("activity: stopped")},
          {utf8("ページが読めません")}},
         joins,
         utf8("前回の自動記録: 12/08 05:30 一部のコマンドが止まりました"),
         utf8("ovekwarden w003: 一部のコマンドが止まりました|activity: stopped\nページが読めません\n"
              "「記録の履歴」に詳しく残っています\n加入: 甲、乙、丙 ほか2名\n脱退: 己")},
        {{at, at, {}, 4, -1, {}, {utf8("別の ovekwarden が…")}},
         {},
         utf8("前回の自動記録: 12/08 05:30 ほかの ovekwarden がこのワールドを使っていました"),
         utf8("ovekwarden w003: ほかの ovekwarden がこのワールドを使っていました|"
              "ovekwarden のウィンドウを閉じておくと、次の記録は行われます")},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(RunOutcome::lastRunLine(c.record), c.line);
        const std::optional<RunOutcome::Notice> notice =
            RunOutcome::notice(QStringLiteral("w003"), c.record, c.news);
        EXPECT_EQ(notice ? notice->summary + u'|' + notice->body : QString(), c.notice)
            << c.line.toStdString();
    }
    EXPECT_EQ(SessionBusNotifier::asMarkup(utf8("<b>&殿")), utf8("&lt;b&gt;&amp;殿"));
}

TEST(RunWitnessTest, EveryEndIsRecordedAndOnlyARunNobodyWatchedTellsTheDesktop)
{
    ensureCoreApplication();
    QTemporaryDir dir;
    HistoryStore history(dir.path());
    FakeClock clock(5 * 3600 + 30 * 60, kToday);
    RecordingNotifier desktop;
    const QStringList commands{QStringLiteral("roster"), QStringLiteral("activity")};
    RunWitness unwatched(history, clock, &desktop, QStringLiteral("w003"), commands);
    clock.advance(40);
    EXPECT_EQ(unwatched.ended(ExitCode::LoginGone, {}, -1, {utf8("ログインが切れています。")}, 7), QString());
    ASSERT_EQ(desktop.shown.size(), 1);
    EXPECT_TRUE(desktop.shown.first().contains(utf8("ログイン"))) << desktop.shown.first().toStdString();

    RunWitness watched(history, clock, nullptr, QStringLiteral("w003"), commands);
    watched.ended(ExitCode::Stopped, {utf8("roster: stopped")}, -1, {}, 7);
    RunWitness quiet(history, clock, &desktop, QStringLiteral("w003"), commands);
    quiet.commandsBegin(QStringLiteral("2581"));
    quiet.ended(ExitCode::Done, {utf8("roster: 5 members, A.txt")}, 5, {}, 7);
    EXPECT_EQ(desktop.shown.size(), 1) << "a terminal watched, or nothing new";

    const QList<RunRecord> runs = history.runs().value;
    ASSERT_EQ(runs.size(), 3);
    EXPECT_EQ(runs.last().startedAt, QDateTime(kToday, QTime(5, 30)));
    EXPECT_EQ(runs.last().endedAt, QDateTime(kToday, QTime(5, 30, 40)));
    EXPECT_EQ(runs.last().commands, commands);
    QList<int> codes;
    for (const RunRecord &run : runs)
        codes << run.exitCode;
    EXPECT_EQ(codes, QList<int>({0, 1, 3}));

    // A history that cannot be written is said, and the desktop still told.
    QFile::setPermissions(history.path(), QFileDevice::ReadOwner);
    RunWitness readOnly(history, clock, &desktop, QStringLiteral("w003"), commands);
    EXPECT_TRUE(
        readOnly.ended(ExitCode::LoginGone, {}, -1, {}, 7).startsWith(utf8("実行の記録を残せませんでした")));
    EXPECT_EQ(desktop.shown.size(), 2);
}
