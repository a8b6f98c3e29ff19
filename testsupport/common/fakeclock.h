#pragma once

#include "common/clock.h"

#include <QDate>
#include <QTime>

// A clock that stands still until a test moves it.
class FakeClock : public Clock
{
public:
    explicit FakeClock(double secondsSinceMidnight = 12 * 3600, QDate date = QDate(2024, 4, 1))
        : m_seconds(secondsSinceMidnight), m_date(date)
    {
    }

    void setTime(int hours, int minutes, double seconds = 0)
    {
        m_seconds = hours * 3600 + minutes * 60 + seconds;
    }
    void setSeconds(double seconds) { m_seconds = seconds; }
    // Past midnight the time starts again at 0 and the date moves on.
    void advance(double seconds)
    {
        m_seconds += seconds;
        while (m_seconds >= secondsPerDay) {
            m_seconds -= secondsPerDay;
            m_date = m_date.addDays(1);
        }
    }
    void setDate(QDate date) { m_date = date; }

    double secondsSinceMidnight() const override { return m_seconds; }
    QDateTime now() const override
    {
        return QDateTime(m_date, QTime(0, 0).addMSecs(static_cast<int>(m_seconds * 1000)));
    }

private:
    static constexpr double secondsPerDay = 86400;
    double m_seconds;
    QDate m_date;
};
