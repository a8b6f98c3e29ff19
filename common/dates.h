#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// The one place that decides how dates look in reports and files. Dates are
// stored and compared as text, never parsed back.
namespace Dates {

// The system locale's short date; under the C or POSIX locale yyyy/MM/dd.
QString shortDate(const QDate &date);
// The system locale's short date and HH:mm:ss time; under C or POSIX
// "yyyy/MM/dd HH:mm:ss".
QString dateTime(const QDateTime &moment);
// HH:mm:ss.
QString timeText(const QTime &time);

} // namespace Dates
