// The run from the command line: what it says on the console, the files it
// leaves, and its exit code, over fake pages.
#include "alliance/console/consoleport.h"
#include "alliance/console/unattendedrun.h"
#include "common/datafile.h"
#include "testsupport/alliance/commandfixture.h"
#include "testsupport/common/qtprinters.h"

#include <QDir>
#include <QFile>

namespace {

// A console port writing into two strings, as a terminal or a log.
struct Console
{
    explicit Console(bool terminal) : port(outStream, errStream, terminal) {}
    QString out;
    QString err;
    QTextStream outStream{&out};
    QTextStream errStream{&err};
    ConsolePort port;
};

TEST(ConsolePortTest, ProgressIsOneLineOnATerminalAndEveryTenthMemberInALog)
{
    const QStringList steps{QStringLiteral("名簿作成 1/12"),
                            QStringLiteral("名簿作成 10/12"),
                            QStringLiteral("名簿作成 10/12（ページを待っています 4秒）"),
                            QStringLiteral("名簿作成 10/12"),
                            QStringLiteral("名簿作成 12/12"),
                            QString()};
    const struct
    {
        bool terminal;
        QString out;
    } cases[] = {
        {false, QStringLiteral("名簿作成 10/12\n名簿作成 12/12\nroster: done\n")},
        {true,
         QStringLiteral("\r名簿作成 1/12\x1b[K\r名簿作成 10/12\x1b[K\r名簿作成 10/12（ページを待っています "
                        "4秒）\x1b[K\r名簿作成 10/12\x1b[K\r名簿作成 12/12\x1b[K\r\x1b[Kroster: done\n")},
    };
    for (const auto &c : cases) {
        Console console(c.terminal);
        ConsolePort &port = console.port;
        const QString &out = console.out;
        const QString &err = console.err;
        for (const QString &step : steps)
            port.showProgress(step);
        port.printLine(QStringLiteral("roster: done"));
        EXPECT_EQ(out, c.out) << (c.terminal ? "terminal" : "log");
        EXPECT_TRUE(err.isEmpty());
    }
}

TEST(ConsolePortTest, WarningsAndStopsGoToStandardErrorInLinesNoticesToStandardOutput)
{
    Console console(true);
    ConsolePort &port = console.port;
    const QString &out = console.out;
    const QString &err = console.err;
    port.showProgress(QStringLiteral("名簿作成 3/9"));
    port.showMessage(QStringLiteral("保存できませんでした。\r\n理由\r\n"), QStringLiteral("注意"),
                     ToolPort::Icon::Warning);
    port.showStatus(QStringLiteral("名簿作成を中止しました（理由）"));
    port.showMessage(QStringLiteral("初回です。"), QStringLiteral("同盟員活動状況"),
                     ToolPort::Icon::Information);
    EXPECT_EQ(err, QStringLiteral("注意: 保存できませんでした。\n理由\n名簿作成を中止しました（理由）\n"));
    EXPECT_EQ(out, QStringLiteral("\r名簿作成 3/9\x1b[K\r\x1b[K同盟員活動状況: 初回です。\n"))
        << "the progress line is taken away before anything else is said";
}

TEST(ConsolePortTest, APageThatKeepsTheWalkWaitingIsLoggedOnceAMinuteAndCountedOnATerminal)
{
    const qint64 waits[] = {1, 59, 60, 61, 119, 120, 130, 0, 65};
    const struct
    {
        bool terminal;
        QStringList lines;
    } cases[] = {
        {false,
         {QStringLiteral("名簿作成 4/12: 60秒待っています"),
          QStringLiteral("名簿作成 4/12: 120秒待っています"),
          QStringLiteral("名簿作成 4/12: 60秒待っています")}},
        {true, {QStringLiteral("\r名簿作成 4/12（ページを待っています 130秒）\x1b[K")}},
    };
    for (const auto &c : cases) {
        Console console(c.terminal);
        ConsolePort &port = console.port;
        const QString &out = console.out;
        const QString &err = console.err;
        for (const qint64 seconds : waits)
            port.showWaiting(QStringLiteral("名簿作成 4/12"), seconds);
        if (c.terminal)
            EXPECT_TRUE(out.contains(c.lines.first())) << out.toStdString();
        else
            EXPECT_EQ(out.split(u'\n', Qt::SkipEmptyParts), c.lines) << out.toStdString();
        EXPECT_TRUE(err.isEmpty());
    }
}

TEST(ConsolePortTest, AStatusSaidAgainByTheSameCommandIsPrintedOnce)
{
    Console console(false);
    ConsolePort &port = console.port;
    const QString &err = console.err;
    const QString failure =
        QStringLiteral("名簿作成は完了しました。履歴を記録できませんでした（壊れています）");
    port.showStatus(failure);
    port.showStatus(failure);
    // The command's message, then the runner telling the status again.
    port.showMessage(QStringLiteral("全員活動中です。"), QStringLiteral("同盟員活動状況"),
                     ToolPort::Icon::Information);
    port.showStatus(failure);
    port.printLine(QStringLiteral("roster: 2 members, OVEKMAP_DATA_7.txt"));
    port.showStatus(failure);
    EXPECT_EQ(err, failure + QStringLiteral("\n") + failure + QStringLiteral("\n"))
        << "once for each command, not twice";
}

class UnattendedRunTest : public CommandFixture
{
protected:
    UnattendedRunTest()
    {
        m_session.allianceId = QStringLiteral("7");
        serveAlliance({{1, QStringLiteral("織田 信長"), QStringLiteral("10,20")},
                       {2, QStringLiteral("豊臣秀吉"), QStringLiteral("-5,6")}});
        for (int id : {1, 2})
            browser().addPage(profileAddress(id), PageFixtures::lordProfilePage(
                                                      QStringLiteral("城主"), QStringLiteral("1,200"),
                                                      QStringLiteral("300"), QStringLiteral("盟主"), 10, 20));
        m_clock.setDate(QDate(2026, 12, 7));
    }

    ExitCode run(const QStringList &keys, const QString &allianceId = QStringLiteral("7"))
    {
        CommandInputs inputs = CommandTable::defaultInputs();
        inputs.allianceIdText = allianceId;
        ConsolePort port(m_outStream, m_errStream, false);
        UnattendedRun run(m_environment, port);
        return run.run(keys, inputs);
    }
    QByteArray bytes(const QString &name) const
    {
        QFile file(m_session.appDir + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    CommandEnvironment m_environment{m_session, m_navigator, m_browsers, m_pacer, m_clock};
    QString m_out;
    QString m_err;
    QTextStream m_outStream{&m_out};
    QTextStream m_errStream{&m_err};
};

TEST_F(UnattendedRunTest, EachCommandSaysWhatItLeftAndTextOnlyResultsAreSavedAsDatedFiles)
{
    EXPECT_EQ(run({QStringLiteral("roster"), QStringLiteral("report"), QStringLiteral("survey")}),
              ExitCode::Done)
        << m_err.toStdString();
    EXPECT_EQ(m_out.split(u'\n').filter(QStringLiteral(": ")),
              QStringList({QStringLiteral("roster: 2 members, OVEKMAP_DATA_7.txt"),
                           QStringLiteral("report: 2 members, report_7_20261207.txt"),
                           QStringLiteral("survey: 2 members, OVEKMAP_DATA_7.txt, survey_7_20261207.txt")}));
    EXPECT_FALSE(bytes(QStringLiteral("OVEKMAP_DATA_7.txt")).isEmpty());
    const QString report = DataFile::decode(bytes(QStringLiteral("report_7_20261207.txt")));
    EXPECT_TRUE(report.contains(QStringLiteral("城主"))) << report.toStdString();
    EXPECT_TRUE(report.endsWith(QStringLiteral("\r\n"))) << "a data file of the program's own kind";
}

TEST_F(UnattendedRunTest, AStoppedCommandIsToldAndTheNextStillRuns)
{
    // An id of no alliance: the report ends on its message, without a text.
    EXPECT_EQ(run({QStringLiteral("report"), QStringLiteral("roster")}, QStringLiteral("99")),
              ExitCode::Stopped);
    EXPECT_TRUE(m_out.contains(QStringLiteral("report: stopped\n")));
    EXPECT_TRUE(m_out.contains(QStringLiteral("roster: 2 members, OVEKMAP_DATA_7.txt\n")));
    EXPECT_TRUE(m_err.contains(QStringLiteral("同盟ID 99"))) << m_err.toStdString();
    EXPECT_FALSE(QFile::exists(m_session.appDir + QStringLiteral("report_99_20261207.txt")));
}

TEST_F(UnattendedRunTest, ALostLoginStopsEveryCommandWithItsOwnCodeAndLeavesTheFiles)
{
    ASSERT_TRUE(
        DataFile::writeText(m_session.appDir + QStringLiteral("OVEKMAP_DATA_7.txt"), QStringLiteral("前")));
    const QByteArray before = bytes(QStringLiteral("OVEKMAP_DATA_7.txt"));
    browser().redirect(kWorld + QStringLiteral("/alliance/info.php?id=7"), m_session.world.sessionOutUrl(),
                       -1);
    EXPECT_EQ(run({QStringLiteral("roster"), QStringLiteral("activity")}), ExitCode::LoginGone);
    EXPECT_EQ(m_out, QStringLiteral("roster: stopped\n")) << "activity was not started";
    EXPECT_TRUE(m_err.endsWith(
        QStringLiteral("ログインが切れています。ovekwarden を起動してログインしてください。\n")));
    EXPECT_EQ(bytes(QStringLiteral("OVEKMAP_DATA_7.txt")), before);
}

TEST_F(UnattendedRunTest, ACommandThatSavedOneFileAndNotTheOtherSaysWhichAndEndsWithOne)
{
    // A folder where a file should go: that file cannot be replaced.
    const struct
    {
        QString command;
        QString blocked;
        QString line;
    } cases[] = {
        {QStringLiteral("roster"), QStringLiteral("OVEKMAP_DATA_7.txt"),
         QStringLiteral("roster: 2 members; ファイル %1OVEKMAP_DATA_7.txt を保存できません: ")},
        {QStringLiteral("survey"), QStringLiteral("survey_7_20261207.txt"),
         QStringLiteral(
             "survey: 2 members, OVEKMAP_DATA_7.txt; ファイル %1survey_7_20261207.txt を保存できません: ")},
        {QStringLiteral("survey"), QStringLiteral("OVEKMAP_DATA_7.txt"),
         QStringLiteral(
             "survey: 2 members, survey_7_20261207.txt; ファイル %1OVEKMAP_DATA_7.txt を保存できません: ")},
    };
    for (const auto &c : cases) {
        m_out.clear();
        for (const QString &name :
             {QStringLiteral("survey_7_20261207.txt"), QStringLiteral("OVEKMAP_DATA_7.txt")}) {
            QDir(m_session.appDir + name).removeRecursively();
            QFile::remove(m_session.appDir + name);
        }
        ASSERT_TRUE(QDir().mkpath(m_session.appDir + c.blocked));
        EXPECT_EQ(run({c.command}), ExitCode::Stopped) << c.blocked.toStdString();
        const QStringList lines =
            m_out.split(u'\n', Qt::SkipEmptyParts).filter(c.command + QStringLiteral(": "));
        ASSERT_EQ(lines.size(), 1) << m_out.toStdString();
        const QString expected = c.line.arg(m_session.appDir);
        EXPECT_TRUE(lines.first().startsWith(expected)) << lines.first().toStdString();
        EXPECT_GT(lines.first().size(), expected.size()) << "and why";
    }
}

} // namespace
