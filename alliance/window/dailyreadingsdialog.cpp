#include "alliance/window/dailyreadingsdialog.h"

#include "alliance/commands/commandtable.h"
#include "alliance/schedule/readingscheduler.h"
#include "site/session.h"
#include "ui/exacttextbox.h"
#include "ui/messagebox.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("毎日の記録");

} // namespace

DailyReadingsDialog::DailyReadingsDialog(const Session &session, ReadingScheduler &scheduler, QString program,
                                         std::function<void()> openRuns, QWidget *parent)
    : QDialog(parent), m_session(session), m_scheduler(scheduler), m_program(std::move(program)),
      m_available(scheduler.available()),
      m_saved(DailySchedule::read(session.appDir, CommandTable::readingKeys())),
      m_on(new QCheckBox(QStringLiteral("毎日記録する"), this)), m_at(new QTimeEdit(this)),
      m_state(new QLabel(this)), m_cron(new QLineEdit(this)),
      m_copy(new QPushButton(QStringLiteral("コピー"), this))
{
    setObjectName(QStringLiteral("DailyReadings"));
    const QString world = session.world.worldLinkKey();
    setWindowTitle(kTitle + QStringLiteral(" - ") + world);
    auto *intro = new QLabel(QStringLiteral("このワールド（%1）の記録を、ウィンドウを開かずに毎日とります。"
                                            "ログインはこのワールドのブラウザに保存されたものを使います。")
                                 .arg(world),
                             this);
    intro->setWordWrap(true);
    m_on->setObjectName(QStringLiteral("chkDailyOn"));
    m_on->setChecked(m_saved.on);
    m_at->setObjectName(QStringLiteral("timDailyAt"));
    m_at->setDisplayFormat(QStringLiteral("HH:mm"));
    m_at->setTime(m_saved.at);
    m_at->setMaximumWidth(m_at->sizeHint().width() * 2);
    auto *commands = new QGroupBox(QStringLiteral("コマンド"), this);
    auto *commandList = new QVBoxLayout(commands);
    for (const QString &key : CommandTable::readingKeys()) {
        auto *box = new QCheckBox(CommandTable::find(key)->label, commands);
        box->setObjectName(QStringLiteral("chkDaily_") + key);
        box->setChecked(m_saved.commands.contains(key));
        commandList->addWidget(box);
        m_commands.insert(key, box);
        connect(box, &QCheckBox::toggled, this, &DailyReadingsDialog::showState);
    }
    m_state->setObjectName(QStringLiteral("lblDailyState"));
    m_state->setWordWrap(true);
    m_cron->setObjectName(QStringLiteral("txtDailyCron"));
    m_cron->setReadOnly(true);
    m_copy->setObjectName(QStringLiteral("cmdDailyCopy"));
    connect(m_copy, &QPushButton::clicked, this, [this] { replaceClipboardText(m_cron->text()); });
    connect(m_at, &QTimeEdit::timeChanged, this, &DailyReadingsDialog::showState);
    connect(m_on, &QCheckBox::toggled, this, &DailyReadingsDialog::showState);

    auto *apply = new QPushButton(QStringLiteral("適用"), this);
    apply->setObjectName(QStringLiteral("cmdDailyApply"));
    connect(apply, &QPushButton::clicked, this, &DailyReadingsDialog::apply);
    auto *runs = new QPushButton(QStringLiteral("記録の履歴…"), this);
    runs->setObjectName(QStringLiteral("cmdRunHistory"));
    connect(runs, &QPushButton::clicked, this, [openRuns = std::move(openRuns)] { openRuns(); });
    auto *close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("cmdDailyClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    layOut(intro, commands, runs, apply, close);
    // The cron line is for a machine without the scheduler only.
    m_cron->setVisible(!m_available);
    m_copy->setVisible(!m_available);
    resize(620, sizeHint().height());
    askNextRun();
    showState();
}

void DailyReadingsDialog::layOut(QWidget *intro, QWidget *commands, QWidget *runs, QWidget *apply,
                                 QWidget *close)
{
    auto *form = new QFormLayout;
    form->addRow(m_on);
    form->addRow(QStringLiteral("時刻"), m_at);
    auto *cronRow = new QHBoxLayout;
    cronRow->addWidget(m_cron, 1);
    cronRow->addWidget(m_copy);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(runs);
    buttons->addStretch(1);
    buttons->addWidget(apply);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(commands);
    layout->addWidget(m_state);
    layout->addLayout(cronRow);
    layout->addLayout(buttons);
}

DailySchedule DailyReadingsDialog::shown() const
{
    DailySchedule schedule;
    schedule.on = m_on->isChecked();
    schedule.at = QTime(m_at->time().hour(), m_at->time().minute());
    schedule.commands.clear();
    // In the table's order, which is the order they run in.
    for (const QString &key : CommandTable::readingKeys()) {
        if (m_commands.value(key)->isChecked())
            schedule.commands << key;
    }
    return schedule;
}

ScheduledRun DailyReadingsDialog::runOf(const DailySchedule &schedule) const
{
    return ScheduledRun::of(m_program, m_session.world, schedule, m_session.appDir);
}

void DailyReadingsDialog::askNextRun()
{
    // Asked when the schedule was set, not at every change the user makes
    // before 「適用」: each question starts systemctl.
    m_nextRun = m_available && m_saved.on ? m_scheduler.nextRun(runOf(m_saved).name) : QString();
}

void DailyReadingsDialog::showState()
{
    const DailySchedule schedule = shown();
    if (!m_available) {
        m_state->setText(QStringLiteral(
            "このコンピューターでは systemd のユーザーサービスが使えないため、自動では設定できません。"
            "次の行を「crontab -e」で加えると、同じ記録が毎日とられます（出力は daily.log に残ります）。"));
        m_cron->setText(DailyUnits::cronLine(runOf(schedule)));
        m_cron->setCursorPosition(0);
        return;
    }
    QString state;
    if (!m_saved.on)
        state = QStringLiteral("いまはオフです。");
    else
        state = m_nextRun.isEmpty() ? QStringLiteral("オンです。")
                                    : QStringLiteral("オンです。次回の記録: %1").arg(m_nextRun);
    if (schedule != m_saved)
        state += QStringLiteral("（変更は「適用」で反映されます）");
    m_state->setText(state + QStringLiteral("\nログアウト中も記録するには、端末で一度だけ "
                                            "「loginctl enable-linger」を実行してください。"));
}

bool DailyReadingsDialog::apply()
{
    const DailySchedule schedule = shown();
    if (schedule.on && schedule.commands.isEmpty()) {
        MessageBox::warning(this, kTitle, QStringLiteral("記録するコマンドを一つ以上選んでください。"));
        return false;
    }
    if (m_available) {
        const QString name = runOf(schedule).name;
        const QString problem = schedule.on ? m_scheduler.turnOn(runOf(schedule)) : m_scheduler.turnOff(name);
        if (!problem.isEmpty()) {
            MessageBox::warning(this, kTitle,
                                (schedule.on ? QStringLiteral("毎日の記録を設定できませんでした。\r\n")
                                             : QStringLiteral("毎日の記録を止められませんでした。\r\n")) +
                                    problem);
            showState();
            return false;
        }
    }
    if (const QString problem = schedule.write(m_session.appDir); !problem.isEmpty()) {
        MessageBox::warning(this, kTitle, problem);
        return false;
    }
    m_saved = schedule;
    askNextRun();
    showState();
    return true;
}
