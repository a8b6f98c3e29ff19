#pragma once

#include "alliance/schedule/dailyschedule.h"

#include <QDialog>
#include <QHash>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;
class ReadingScheduler;
struct Session;

// 「毎日の記録」: the world's readings taken every day without the window,
// set up with the desktop's scheduler: on or off, the time, the commands.
// Where no scheduler answers, the cron line for the same run, to copy.
class DailyReadingsDialog : public QDialog
{
    Q_OBJECT
public:
    // program: the path the scheduler starts; openRuns: 「記録の履歴」.
    DailyReadingsDialog(const Session &session, ReadingScheduler &scheduler, QString program,
                        std::function<void()> openRuns, QWidget *parent = nullptr);

    // 「適用」: sets the scheduler up as the dialog shows, then saves it with
    // the world. False when the user was told why it could not be done.
    bool apply();

private:
    void layOut(QWidget *intro, QWidget *commands, QWidget *runs, QWidget *apply, QWidget *close);
    DailySchedule shown() const;
    ScheduledRun runOf(const DailySchedule &schedule) const;
    void askNextRun();
    void showState();

    const Session &m_session;
    ReadingScheduler &m_scheduler;
    QString m_program;
    bool m_available;
    DailySchedule m_saved;
    QString m_nextRun; // as the scheduler said when the schedule was set
    QCheckBox *m_on;
    QTimeEdit *m_at;
    QHash<QString, QCheckBox *> m_commands;
    QLabel *m_state;
    QLineEdit *m_cron;
    QPushButton *m_copy;
};
