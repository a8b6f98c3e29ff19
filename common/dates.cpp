#include "common/dates.h"

#include <QLocale>

namespace {

// A C or POSIX locale has no meaningful short date for a Japanese report;
// the game itself writes dates as yyyy/MM/dd.
bool isNeutralLocale(const QLocale &locale)
{
    return locale.language() == QLocale::C;
}

} // namespace

namespace Dates {

QString shortDate(const QDate &date)
{
    const QLocale locale = QLocale::system();
    if (isNeutralLocale(locale))
        return date.toString(QStringLiteral("yyyy/MM/dd"));
    return locale.toString(date, QLocale::ShortFormat);
}

QString timeText(const QTime &time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

QString dateTime(const QDateTime &moment)
{
    return shortDate(moment.date()) + QStringLiteral(" ") + timeText(moment.time());
}

} // namespace Dates
