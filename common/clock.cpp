#include "common/clock.h"

#include "common/dates.h"

QString Clock::todayText() const
{
    return Dates::shortDate(now().date());
}

QString Clock::dateTimeText() const
{
    return Dates::dateTime(now());
}

double SystemClock::secondsSinceMidnight() const
{
    return now().time().msecsSinceStartOfDay() / 1000.0;
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}
