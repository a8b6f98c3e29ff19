#pragma once

#include "alliance/schedule/readingscheduler.h"

#include <QStringList>

// The user's systemd manager (`systemctl --user`): a service and a timer
// per world in the user's unit folder, enabled so they run from the next
// login on, and after the machine was off at the time.
class SystemdUserScheduler : public ReadingScheduler
{
public:
    // unitFolder: ~/.config/systemd/user; systemctl: the program, found on PATH.
    explicit SystemdUserScheduler(QString unitFolder = defaultUnitFolder(), QString systemctl = {});

    static QString defaultUnitFolder();

    bool available() override;
    QString turnOn(const ScheduledRun &run) override;
    QString turnOff(const QString &name) override;
    QString nextRun(const QString &name) override;

    QString servicePath(const QString &name) const;
    QString timerPath(const QString &name) const;

private:
    struct Answer
    {
        bool ok = false;
        QString output;
        QString reason; // for the user, when not ok
    };
    Answer systemctl(const QStringList &arguments) const;

    QString m_unitFolder;
    QString m_systemctl;
};
