#pragma once

#include <QDateTime>
#include <QString>

// Time of day and date, behind an interface so tests can start a wait at
// 23:55 or fix the date a report carries.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual double secondsSinceMidnight() const = 0;
    virtual QDateTime now() const = 0;
    QString todayText() const;
    QString dateTimeText() const;
};

class SystemClock : public Clock
{
public:
    double secondsSinceMidnight() const override;
    QDateTime now() const override;
};
