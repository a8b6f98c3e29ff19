// 「毎日の記録」 as the leader uses it: on, a new time, off, each through
// the scheduler and kept with the world; and the cron line where no
// scheduler answers.
#include "alliance/schedule/readingscheduler.h"
#include "alliance/schedule/systemduserscheduler.h"
#include "alliance/window/dailyreadingsdialog.h"
#include "site/session.h"
#include "testsupport/common/qtprinters.h"
#include "testsupport/x11/testapplication.h"
#include "ui/messagebox.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <gtest/gtest.h>

namespace {

class RecordingScheduler : public ReadingScheduler
{
public:
    bool available() override { return true; }
    QString turnOn(const ScheduledRun &run) override
    {
        calls << QStringLiteral("on %1 %2 %3")
                     .arg(run.name, run.at.toString(QStringLiteral("HH:mm")), run.command.at(2));
        next = QStringLiteral("2026/12/09 ") + run.at.toString(QStringLiteral("HH:mm"));
        return refusal;
    }
    QString turnOff(const QString &name) override
    {
        calls << QStringLiteral("off ") + name;
        return {};
    }
    QString nextRun(const QString &) override { return next; }

    QStringList calls;
    QString next;
    QString refusal;
};

class DailyReadingsDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureTestApplication();
        m_session.appDir = m_dir.path() + u'/';
        m_session.world = {QStringLiteral("http://127.0.0.1:18080"), QStringLiteral("http://127.0.0.1:18083"),
                           QStringLiteral("3"), QStringLiteral("5")};
        MessageBox::setNextAnswer(true);
    }
    void TearDown() override { MessageBox::setNextAnswer(std::nullopt); }

    std::unique_ptr<DailyReadingsDialog> open(ReadingScheduler &scheduler)
    {
        auto dialog = std::make_unique<DailyReadingsDialog>(
            m_session, scheduler, QStringLiteral("/opt/ovek/ovekwarden"), [this] { ++m_runsOpened; });
        dialog->show();
        return dialog;
    }
    template <typename W> static W *find(QWidget *dialog, const QString &name)
    {
        return dialog->findChild<W *>(name);
    }
    static void click(QWidget *dialog, const QString &name) { find<QPushButton>(dialog, name)->click(); }

    QTemporaryDir m_dir;
    Session m_session;
    int m_runsOpened = 0;
};

const QString kName = QStringLiteral("ovekwarden-w003_127.0.0.1_18083");

} // namespace

TEST_F(DailyReadingsDialogTest, OnANewTimeAndOffGoThroughTheSchedulerAndAreKeptWithTheWorld)
{
    RecordingScheduler scheduler;
    auto dialog = open(scheduler);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("毎日の記録 - w003"));
    EXPECT_FALSE(find<QLineEdit>(dialog.get(), QStringLiteral("txtDailyCron"))->isVisible());
    EXPECT_TRUE(find<QLabel>(dialog.get(), QStringLiteral("lblDailyState"))
                    ->text()
                    .startsWith(QStringLiteral("いまはオフです。")));
    // The day's survey, the points and the briefing are offered first.
    for (const char *key : {"survey", "activity", "briefing"})
        EXPECT_TRUE(
            find<QCheckBox>(dialog.get(), QStringLiteral("chkDaily_") + QLatin1String(key))->isChecked())
            << key;
    EXPECT_FALSE(find<QCheckBox>(dialog.get(), QStringLiteral("chkDaily_roster"))->isChecked());
    EXPECT_EQ(find<QCheckBox>(dialog.get(), QStringLiteral("chkDaily_check-pages")), nullptr) << "no reading";

    find<QCheckBox>(dialog.get(), QStringLiteral("chkDailyOn"))->setChecked(true);
    click(dialog.get(), QStringLiteral("cmdDailyApply"));
    EXPECT_TRUE(find<QLabel>(dialog.get(), QStringLiteral("lblDailyState"))
                    ->text()
                    .startsWith(QStringLiteral("オンです。次回の記録: 2026/12/09 05:30")));
    find<QTimeEdit>(dialog.get(), QStringLiteral("timDailyAt"))->setTime(QTime(6, 45));
    find<QCheckBox>(dialog.get(), QStringLiteral("chkDaily_briefing"))->setChecked(false);
    EXPECT_TRUE(find<QLabel>(dialog.get(), QStringLiteral("lblDailyState"))
                    ->text()
                    .contains(QStringLiteral("「適用」で反映")));
    click(dialog.get(), QStringLiteral("cmdDailyApply"));
    // Reopened, it shows what was set.
    dialog = open(scheduler);
    EXPECT_TRUE(find<QCheckBox>(dialog.get(), QStringLiteral("chkDailyOn"))->isChecked());
    EXPECT_EQ(find<QTimeEdit>(dialog.get(), QStringLiteral("timDailyAt"))->time(), QTime(6, 45));
    EXPECT_FALSE(find<QCheckBox>(dialog.get(), QStringLiteral("chkDaily_briefing"))->isChecked());

    // Nothing to run is refused before the scheduler is asked.
    for (const char *key : {"survey", "activity"})
        find<QCheckBox>(dialog.get(), QStringLiteral("chkDaily_") + QLatin1String(key))->setChecked(false);
    EXPECT_FALSE(dialog->apply());
    find<QCheckBox>(dialog.get(), QStringLiteral("chkDailyOn"))->setChecked(false);
    click(dialog.get(), QStringLiteral("cmdDailyApply"));
    EXPECT_EQ(scheduler.calls,
              QStringList({QStringLiteral("on ") + kName + QStringLiteral(" 05:30 activity,survey,briefing"),
                           QStringLiteral("on ") + kName + QStringLiteral(" 06:45 activity,survey"),
                           QStringLiteral("off ") + kName}));
    // A scheduler that refuses leaves the world's schedule as it was.
    scheduler.refusal = QStringLiteral("systemctl --user enable が失敗しました。");
    find<QCheckBox>(dialog.get(), QStringLiteral("chkDaily_roster"))->setChecked(true);
    find<QCheckBox>(dialog.get(), QStringLiteral("chkDailyOn"))->setChecked(true);
    EXPECT_FALSE(dialog->apply());
    EXPECT_FALSE(DailySchedule::read(m_session.appDir, {QStringLiteral("roster")}).on);
    click(dialog.get(), QStringLiteral("cmdRunHistory"));
    EXPECT_EQ(m_runsOpened, 1);
}

TEST_F(DailyReadingsDialogTest, WithoutSystemctlTheCronLineForTheSameRunIsShownAndCopied)
{
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", m_dir.filePath(QStringLiteral("nothing")).toUtf8());
    SystemdUserScheduler none(m_dir.filePath(QStringLiteral("units")));
    qputenv("PATH", path);
    auto dialog = open(none);
    EXPECT_TRUE(find<QLabel>(dialog.get(), QStringLiteral("lblDailyState"))
                    ->text()
                    .contains(QStringLiteral("systemd のユーザーサービスが使えない")));
    auto *cron = find<QLineEdit>(dialog.get(), QStringLiteral("txtDailyCron"));
    ASSERT_TRUE(cron->isVisible());
    DailySchedule schedule;
    schedule.at = QTime(4, 10);
    find<QTimeEdit>(dialog.get(), QStringLiteral("timDailyAt"))->setTime(schedule.at);
    const QString line = DailyUnits::cronLine(ScheduledRun::of(QStringLiteral("/opt/ovek/ovekwarden"),
                                                               m_session.world, schedule, m_session.appDir));
    EXPECT_EQ(cron->text(), line);
    EXPECT_TRUE(line.startsWith(
        QStringLiteral("10 4 * * * /opt/ovek/ovekwarden --run activity,survey,briefing --headless")));
    click(dialog.get(), QStringLiteral("cmdDailyCopy"));
    EXPECT_EQ(QApplication::clipboard()->text(), line);
    find<QCheckBox>(dialog.get(), QStringLiteral("chkDailyOn"))->setChecked(true);
    EXPECT_TRUE(dialog->apply());
    EXPECT_EQ(DailySchedule::read(m_session.appDir, {QStringLiteral("survey"), QStringLiteral("activity"),
                                                     QStringLiteral("briefing")})
                  .at,
              QTime(4, 10));
}
