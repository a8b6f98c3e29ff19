#include "common/numbers.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(Numbers, ReadLeadingTakesTheNumberAtTheStartOnly)
{
    EXPECT_EQ(Numbers::readLeading(QStringLiteral("  12abc")), 12);
    EXPECT_EQ(Numbers::readLeading(QStringLiteral("abc")), 0);
    EXPECT_EQ(Numbers::readLeading(QString()), 0);
    EXPECT_EQ(Numbers::readLeading(QStringLiteral("-7,5")), -7);
    EXPECT_DOUBLE_EQ(Numbers::readLeading(QStringLiteral(" 3.25pt")), 3.25);
    EXPECT_EQ(Numbers::readLeading(QStringLiteral("1 2")), 1);
    EXPECT_EQ(Numbers::readLeading(QStringLiteral("-")), 0);
}

TEST(Numbers, ReadLooseSkipsBlanksAnywhere)
{
    EXPECT_EQ(Numbers::readLoose(QStringLiteral(" - 1 2")), -12);
    EXPECT_EQ(Numbers::readLoose(QStringLiteral("\t1\r\n0\n0位")), 100);
    EXPECT_DOUBLE_EQ(Numbers::readLoose(QStringLiteral("1.5e3")), 1500);
    EXPECT_DOUBLE_EQ(Numbers::readLoose(QStringLiteral("2e")), 2);
    EXPECT_EQ(Numbers::readLoose(QStringLiteral("位")), 0);
}

TEST(Numbers, RoundingGoesToTheEvenNeighbourOnHalves)
{
    EXPECT_EQ(Numbers::toInt32(7279.5), 7280);
    EXPECT_EQ(Numbers::toInt32(7280.5), 7280);
    EXPECT_EQ(Numbers::toInt32(-0.5), 0);
    EXPECT_EQ(Numbers::toInt32(-1.5), -2);
    EXPECT_EQ(Numbers::toInt16(32766.5), 32766);
    EXPECT_EQ(Numbers::toInt16(-32768.4), -32768);
}

TEST(Numbers, OutOfRangeIsReportedNeverWrapped)
{
    EXPECT_THROW(Numbers::toInt16(32767.5), std::overflow_error);
    EXPECT_THROW(Numbers::toInt16(-32768.6), std::overflow_error);
    EXPECT_THROW(Numbers::toInt32(2147483648.0), std::overflow_error);
    EXPECT_THROW(Numbers::toInt32(std::nan("")), std::overflow_error);
}

TEST(Numbers, ReportTextHasABlankBeforeNonNegativeValues)
{
    EXPECT_EQ(Numbers::reportText(qint64(12)), QStringLiteral(" 12"));
    EXPECT_EQ(Numbers::reportText(qint64(0)), QStringLiteral(" 0"));
    EXPECT_EQ(Numbers::reportText(qint64(-12)), QStringLiteral("-12"));
    EXPECT_EQ(Numbers::reportText(1234.5), QStringLiteral(" 1234.5"));
    EXPECT_EQ(Numbers::reportText(-0.0), QStringLiteral(" 0"));
    EXPECT_EQ(Numbers::plainText(qint64(12)), QStringLiteral("12"));
    EXPECT_EQ(Numbers::plainText(2.0), QStringLiteral("2"));
}

} // namespace
