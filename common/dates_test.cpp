#include "common/dates.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

TEST(Dates, NeutralLocaleUsesTheGameDateForm)
{
    const QLocale saved;
    QLocale::setDefault(QLocale::c());
    // The system locale decides; under C / POSIX (as in CI) the fixed form applies.
    if (QLocale::system().language() == QLocale::C) {
        EXPECT_EQ(Dates::shortDate(QDate(2026, 1, 5)), QStringLiteral("2026/01/05"));
        EXPECT_EQ(Dates::dateTime(QDateTime(QDate(2026, 1, 5), QTime(7, 8, 9))),
                  QStringLiteral("2026/01/05 07:08:09"));
    } else {
        EXPECT_FALSE(Dates::shortDate(QDate(2026, 1, 5)).isEmpty());
    }
    EXPECT_EQ(Dates::timeText(QTime(23, 55, 0)), QStringLiteral("23:55:00"));
    QLocale::setDefault(saved);
}

} // namespace
