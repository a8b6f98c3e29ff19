// End to end: the real ovekwarden program run with --run, as a timer runs
// it, against demosite: the same files as the tool window's buttons, the
// history it records, and how it ends when the login is gone, the profile
// is taken or it is told to stop.
#include "alliance/window/toolwindow.h"
#include "common/datafile.h"
#include "common/rosterfile.h"
#include "history/historystore.h"
#include "testsupport/alliance/unattendedfixture.h"
#include "testsupport/common/qtprinters.h"
#include "testsupport/site/browserprocesses.h"
#include "trends/trendswindow.h"
#include "ui/messagebox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QThread>
#include <csignal>

namespace {

TEST_F(UnattendedEndToEnd, WritesWhatTheButtonsWriteRecordsEveryRunAndTheNextDaysJoinAndLeave)
{
    // The buttons first, in a window over the same world.
    startUp();
    MessageBox::setNextAnswer(true);
    OVEKMark window(m_session, m_browsers, *m_navigator, m_pump, m_clock);
    window.Form_Load();
    window.findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(m_own);
    QHash<QString, QString> shown;
    for (const auto &[key, control] : {std::pair{QStringLiteral("roster"), QStringLiteral("Command2")},
                                       std::pair{QStringLiteral("activity"), QStringLiteral("Command5")},
                                       std::pair{QStringLiteral("report"), QStringLiteral("Command7")},
                                       std::pair{QStringLiteral("castles"), QStringLiteral("Command3")}}) {
        window.findChild<QPushButton *>(control)->click();
        shown.insert(key, window.outputText());
    }
    MessageBox::setNextAnswer(std::nullopt);
    m_browsers.quit();

    const Ended first = run(QStringLiteral("roster,activity,report,castles"));
    ASSERT_EQ(first.code, 0) << first.err.toStdString();
    const QString day = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    const QString report = QStringLiteral("report_%1_%2.txt").arg(m_own, day);
    const QString castles = QStringLiteral("castles_%1_%2.txt").arg(m_own, day);
    static const QRegularExpression resultLine(QStringLiteral("^[a-z]+: "));
    EXPECT_EQ(first.out.split(u'\n').filter(resultLine),
              QStringList({QStringLiteral("roster: 5 members, ") + RosterFile::fileName(m_own),
                           QStringLiteral("activity: 5 members, 同盟ポイントDATA_%1.txt").arg(m_own),
                           QStringLiteral("report: 5 members, ") + report,
                           QStringLiteral("castles: 5 members, ") + castles}));
    EXPECT_FALSE(first.out.contains(QStringLiteral("\x1b"))) << "no rewritten lines in a log";

    for (const QString &name :
         {RosterFile::fileName(m_own), QStringLiteral("同盟ポイントDATA_%1.txt").arg(m_own)})
        EXPECT_EQ(bytes(appFile(name)), bytes(m_session.appDir + name)) << name.toStdString();
    EXPECT_EQ(DataFile::decode(bytes(appFile(report))),
              shown.value(QStringLiteral("report")) + QStringLiteral("\r\n"));
    EXPECT_EQ(withoutTime(DataFile::decode(bytes(appFile(castles)))),
              withoutTime(shown.value(QStringLiteral("castles"))) + QStringLiteral("\r\n"));

    HistoryStore history(worldDir());
    QStringList recorded;
    for (const Snapshot &snapshot : history.snapshots(m_own).value)
        recorded << snapshot.command + QString::number(snapshot.members.size());
    EXPECT_EQ(recorded, QStringList({QStringLiteral("roster5"), QStringLiteral("activity5"),
                                     QStringLiteral("report5"), QStringLiteral("castles5")}));

    // The next day a lord joins and a member leaves.
    const QJsonObject next = QJsonDocument::fromJson(m_site.control(QStringLiteral("advance-day"))).object();
    const Ended second = run(QStringLiteral("roster,activity"));
    ASSERT_EQ(second.code, 0) << second.err.toStdString();
    TrendsWindow trends(worldDir(), m_own, QDate::currentDate());
    const QList<QStringList> log = trends.model(TrendsWindow::Table::JoinLeave)->table().rows;
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"));
    // Names as the member table is read: without their blanks.
    const auto member = [&](const char *key) {
        return lordName(next[QLatin1String(key)].toInt()).remove(u' ');
    };
    EXPECT_EQ(log, QList<QStringList>({{today, QStringLiteral("加入"), member("joined")},
                                       {today, QStringLiteral("脱退"), member("left")}}));
    EXPECT_FALSE(browserLeft());
}

TEST_F(UnattendedEndToEnd, AnExpiredLoginEndsWithThreeSoonTouchingNothing)
{
    ASSERT_TRUE(DataFile::writeText(appFile(RosterFile::fileName(m_own)), QStringLiteral("前回の名簿")));
    const QMap<QString, QByteArray> before = dataFiles();
    m_site.control(QStringLiteral("expire-login"));
    const Ended ended = run(QStringLiteral("roster,activity"), 60000);
    EXPECT_EQ(ended.code, 3) << ended.err.toStdString();
    EXPECT_LT(ended.ms, 30000);
    EXPECT_TRUE(ended.err.contains(
        QStringLiteral("ログインが切れています。ovekwarden を起動してログインしてください。")));
    // Only the run's own record is kept, in the history: no reading of it.
    QMap<QString, QByteArray> after = dataFiles();
    for (const QString &name : after.keys()) {
        if (name.startsWith(HistoryStore::fileName()))
            after.remove(name);
    }
    EXPECT_EQ(after, before) << "no file written";
    HistoryStore history(worldDir());
    EXPECT_TRUE(history.snapshots(m_own).value.isEmpty());
    const QList<RunRecord> runs = history.runs().value;
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs.first().exitCode, 3);
    EXPECT_EQ(runs.first().commands, QStringList({QStringLiteral("roster"), QStringLiteral("activity")}));
    EXPECT_FALSE(browserLeft());
}

TEST_F(UnattendedEndToEnd, CheckPagesEndsWithZeroWhenEveryFamilyReadsAndOneNamingAChangedFamily)
{
    Ended ended = run(QStringLiteral("--check-pages"), 120000);
    EXPECT_EQ(ended.code, 0) << ended.out.toStdString() << ended.err.toStdString();
    EXPECT_TRUE(ended.out.startsWith(QStringLiteral("ページ点検 "))) << ended.out.toStdString();
    EXPECT_EQ(ended.out.count(QStringLiteral("：読めました\n")), 8) << ended.out.toStdString();
    EXPECT_FALSE(ended.out.contains(u'\r'));
    EXPECT_FALSE(QDir(appFile(QStringLiteral("診断"))).exists()) << "nothing to keep";

    m_site.control(QStringLiteral("change-markup?path=/message/inbox.php"));
    ended = run(QStringLiteral("--check-pages"), 120000);
    EXPECT_EQ(ended.code, 1) << ended.out.toStdString() << ended.err.toStdString();
    EXPECT_TRUE(ended.out.contains(
        QStringLiteral("\n受信箱：読めません（書状の表の見出し「選択件名送信者日付ロック」）\n")))
        << ended.out.toStdString();
    EXPECT_EQ(ended.out.count(QStringLiteral("：読めました\n")), 7);
    const QStringList kept = QDir(appFile(QStringLiteral("診断"))).entryList(QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(ended.out.contains(kept.first())) << "the output says where the page is";
    const QByteArray page = bytes(appFile(QStringLiteral("診断/") + kept.first()));
    EXPECT_TRUE(page.contains("差出人"));
    EXPECT_FALSE(page.contains("demo-session-token"));
    EXPECT_FALSE(page.contains("demo-pin"));
    EXPECT_FALSE(browserLeft());
}

TEST_F(UnattendedEndToEnd, ASecondRunWhileTheFirstWalksEndsWithFourAndLeavesTheFirstAlone)
{
    QProcess first;
    start(first, QStringLiteral("roster,castles"));
    // The first holds the profile once it is up.
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(appFile(QStringLiteral("browser-profile.lock"))) && waited.elapsed() < 10000)
        QThread::msleep(20);
    const Ended second = run(QStringLiteral("roster"), 30000);
    EXPECT_EQ(second.code, 4) << second.err.toStdString();
    EXPECT_TRUE(second.err.contains(QStringLiteral("別の ovekwarden")));
    const Ended ended = finish(first, 240000);
    EXPECT_EQ(ended.code, 0) << ended.err.toStdString();
    EXPECT_TRUE(ended.out.contains(QStringLiteral("castles: 5 members")));
    EXPECT_FALSE(browserLeft());
}

class UnattendedStopEndToEnd : public UnattendedEndToEnd
{
protected:
    int members() const override { return 14; }

    // Starts the commands and returns once the roster's walk is under way
    // (the log's line of its tenth member).
    void startWalking(QProcess &process, const QString &commands = QStringLiteral("roster"))
    {
        start(process, commands);
        QElapsedTimer waited;
        waited.start();
        QString out;
        while (!out.contains(QStringLiteral("名簿作成 10/14")) && waited.elapsed() < 120000) {
            process.waitForReadyRead(200);
            out += QString::fromUtf8(process.readAllStandardOutput());
        }
        ASSERT_TRUE(out.contains(QStringLiteral("名簿作成 10/14"))) << out.toStdString();
    }
};

TEST_F(UnattendedStopEndToEnd, TerminatedDuringTheWalkItEndsInTwoSecondsLeavingTheFilesAndNoBrowser)
{
    ASSERT_TRUE(DataFile::writeText(appFile(RosterFile::fileName(m_own)), QStringLiteral("前回の名簿")));
    const QMap<QString, QByteArray> before = dataFiles();
    QProcess process;
    ASSERT_NO_FATAL_FAILURE(startWalking(process));
    process.terminate();
    const Ended ended = finish(process, 10000);
    EXPECT_LT(ended.ms, 2000);
    EXPECT_EQ(dataFiles().value(RosterFile::fileName(m_own)), before.value(RosterFile::fileName(m_own)));
    EXPECT_FALSE(dataFiles().contains(QStringLiteral("ovek_history.sqlite")) &&
                 !HistoryStore(worldDir()).snapshots(m_own).value.isEmpty())
        << "no reading of a walk that did not end";
    EXPECT_FALSE(browserLeft());
}

// Ends the program outright during its walk, as SIGKILL or a crash would:
// it runs no code of its own on the way out.
class UnattendedKillEndToEnd : public UnattendedStopEndToEnd
{
protected:
    // The walk under way, the browser's process group: chromedriver, its
    // watcher and Chromium.
    qint64 walkingBrowsersGroup(QProcess &process)
    {
        startWalking(process);
        return processGroup(chromiumMainProcess(profile()));
    }
    QString profile() const { return appFile(QStringLiteral("browser-profile")); }
    // Whether anything of the browser still runs after ms.
    bool browserRunsAfter(qint64 group, int ms) const
    {
        QElapsedTimer waited;
        waited.start();
        while (!runningProcessesMentioning(profile()).isEmpty() ||
               !runningProcessesOfGroup(group).isEmpty()) {
            if (waited.elapsed() > ms)
                return true;
            QThread::msleep(50);
        }
        return false;
    }
};

TEST_F(UnattendedKillEndToEnd, KilledOutrightItsBrowserEndsWithinFiveSecondsLeavingTheFiles)
{
    ASSERT_TRUE(DataFile::writeText(appFile(RosterFile::fileName(m_own)), QStringLiteral("前回の名簿")));
    const QByteArray before = bytes(appFile(RosterFile::fileName(m_own)));
    QProcess process;
    const qint64 group = walkingBrowsersGroup(process);
    ASSERT_GT(group, 0);
    process.kill();
    process.waitForFinished();
    EXPECT_FALSE(browserRunsAfter(group, 5000)) << "chromedriver and Chromium end with the program";
    EXPECT_EQ(bytes(appFile(RosterFile::fileName(m_own))), before);
}

TEST_F(UnattendedKillEndToEnd, ABrowserLeftRunningOnTheProfileIsEndedByTheNextStartWhichWalks)
{
    QProcess process;
    const qint64 group = walkingBrowsersGroup(process);
    ASSERT_GT(group, 0);
    // Without its watcher the browser outlives the program, as it did
    // before there was one: the next start must still walk.
    for (const qint64 pid : runningProcessesOfGroup(group)) {
        if (processName(pid) == QStringLiteral("ovek-watcher"))
            ::kill(static_cast<pid_t>(pid), SIGKILL);
    }
    process.kill();
    process.waitForFinished();
    QThread::msleep(500);
    ASSERT_NE(chromiumMainProcess(profile()), 0) << "the browser was left running";
    const Ended ended = run(QStringLiteral("roster"));
    EXPECT_EQ(ended.code, 0) << ended.err.toStdString();
    EXPECT_TRUE(ended.out.contains(QStringLiteral("roster: 14 members"))) << ended.out.toStdString();
    EXPECT_TRUE(runningProcessesOfGroup(group).isEmpty());
    EXPECT_FALSE(browserLeft());
}

TEST_F(UnattendedKillEndToEnd, ABrowserKilledUnderACommandStopsThatCommandAndANewOneRunsTheNext)
{
    ASSERT_TRUE(DataFile::writeText(appFile(RosterFile::fileName(m_own)), QStringLiteral("前回の名簿")));
    const QByteArray before = bytes(appFile(RosterFile::fileName(m_own)));
    QProcess process;
    ASSERT_NO_FATAL_FAILURE(startWalking(process, QStringLiteral("roster,activity")));
    const qint64 chromium = chromiumMainProcess(profile());
    ASSERT_NE(chromium, 0);
    ::kill(static_cast<pid_t>(chromium), SIGKILL);
    const Ended ended = finish(process, 240000);
    EXPECT_EQ(ended.code, 1) << ended.out.toStdString() << ended.err.toStdString();
    EXPECT_TRUE(ended.out.contains(QStringLiteral("roster: stopped\n"))) << ended.out.toStdString();
    EXPECT_TRUE(ended.out.contains(QStringLiteral("activity: 14 members, ") +
                                   QStringLiteral("同盟ポイントDATA_") + m_own + QStringLiteral(".txt\n")))
        << ended.out.toStdString() << ended.err.toStdString();
    EXPECT_TRUE(ended.err.contains(QStringLiteral("ブラウザが閉じられたため、「名簿作成」を中止しました。"
                                                  "ファイルは前のままです。")))
        << ended.err.toStdString();
    EXPECT_FALSE(ended.err.contains(QStringLiteral("ブラウザでログインしてください")))
        << "nobody is at the screen to log in";
    EXPECT_EQ(bytes(appFile(RosterFile::fileName(m_own))), before);
    EXPECT_FALSE(browserLeft());
}

} // namespace
