#include "common/numbers.h"
#include "common/readfailure.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
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
    EXPECT_THROW(Numbers::toInt16(32767.5), ReadFailure);
    EXPECT_THROW(Numbers::toInt16(-32768.6), ReadFailure);
    EXPECT_THROW(Numbers::toInt32(2147483648.0), ReadFailure);
    EXPECT_THROW(Numbers::toInt32(std::nan("")), ReadFailure);
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

TEST(Numbers, SixteenBitLimitsAreReachableAndOneBeyondFails)
{
    EXPECT_EQ(Numbers::toInt16(32767.0), 32767);
    // The range is checked after rounding.
    EXPECT_EQ(Numbers::toInt16(32767.4), 32767);
    EXPECT_EQ(Numbers::toInt16(-32768.0), -32768);
    EXPECT_EQ(Numbers::toInt16(-32768.5), -32768);
    EXPECT_EQ(Numbers::toInt16(-32767.5), -32768);
    EXPECT_EQ(Numbers::toInt16(32765.5), 32766);
    EXPECT_THROW(Numbers::toInt16(32768.0), ReadFailure);
    EXPECT_THROW(Numbers::toInt16(-32769.0), ReadFailure);
    EXPECT_THROW(Numbers::toInt16(-32769.5), ReadFailure);
}

TEST(Numbers, ThirtyTwoBitLimitsAreReachableAndOneBeyondFails)
{
    EXPECT_EQ(Numbers::toInt32(2147483647.0), 2147483647);
    EXPECT_EQ(Numbers::toInt32(2147483647.4), 2147483647);
    EXPECT_EQ(Numbers::toInt32(2147483646.5), 2147483646);
    EXPECT_EQ(Numbers::toInt32(-2147483648.0), std::numeric_limits<qint32>::min());
    EXPECT_EQ(Numbers::toInt32(-2147483648.5), std::numeric_limits<qint32>::min());
    EXPECT_EQ(Numbers::toInt32(40000.0), 40000); // beyond 16 bits
    EXPECT_THROW(Numbers::toInt32(2147483647.5), ReadFailure);
    EXPECT_THROW(Numbers::toInt32(-2147483649.0), ReadFailure);
    EXPECT_THROW(Numbers::toInt32(std::numeric_limits<double>::infinity()), ReadFailure);
}

TEST(Numbers, RoundHalfEvenOnBothSidesOfZero)
{
    EXPECT_EQ(Numbers::roundHalfEven(0.5), 0.0);
    EXPECT_EQ(Numbers::roundHalfEven(1.5), 2.0);
    EXPECT_EQ(Numbers::roundHalfEven(2.5), 2.0);
    EXPECT_EQ(Numbers::roundHalfEven(-2.5), -2.0);
    EXPECT_EQ(Numbers::roundHalfEven(2.4999), 2.0);
    EXPECT_EQ(Numbers::roundHalfEven(2.5001), 3.0);
    EXPECT_EQ(Numbers::roundHalfEven(-2.6), -3.0);
    EXPECT_FALSE(std::signbit(Numbers::roundHalfEven(-0.4)));
}

TEST(Numbers, ReadLeadingStopsWhereTheNumberEnds)
{
    EXPECT_EQ(Numbers::readLeading(QStringLiteral("+5")), 5);
    EXPECT_EQ(Numbers::readLeading(QStringLiteral("\t\r\n 8")), 8);
    EXPECT_DOUBLE_EQ(Numbers::readLeading(QStringLiteral("1.2.3")), 1.2);
    EXPECT_DOUBLE_EQ(Numbers::readLeading(QStringLiteral(".5")), 0.5);
    // No exponent in the plain reading: "1e3" is 1 followed by text.
    EXPECT_EQ(Numbers::readLeading(QStringLiteral("1e3")), 1);
    EXPECT_EQ(Numbers::readLeading(QStringLiteral("- 1")), 0);
    EXPECT_EQ(Numbers::readLeading(QStringLiteral("　12")), 0); // U+3000 is not a blank
    EXPECT_EQ(Numbers::readLeading(QStringLiteral("１２")), 0); // nor are full-width digits digits
    EXPECT_EQ(Numbers::readLeading(QStringLiteral("3３")), 3);
    EXPECT_EQ(Numbers::readLeading(QStringLiteral("40000")), 40000);
    EXPECT_EQ(Numbers::readLeading(QStringLiteral("09")), 9);
}

TEST(Numbers, ReadLooseTakesSignPointAndExponent)
{
    EXPECT_DOUBLE_EQ(Numbers::readLoose(QStringLiteral("1E+2")), 100);
    EXPECT_DOUBLE_EQ(Numbers::readLoose(QStringLiteral("1 e - 2")), 0.01);
    EXPECT_DOUBLE_EQ(Numbers::readLoose(QStringLiteral("+ 2 . 5")), 2.5);
    EXPECT_DOUBLE_EQ(Numbers::readLoose(QStringLiteral("1.2.3")), 1.2);
    EXPECT_EQ(Numbers::readLoose(QStringLiteral("3x4")), 3);
    EXPECT_EQ(Numbers::readLoose(QStringLiteral("-")), 0);
    EXPECT_EQ(Numbers::readLoose(QString()), 0);
    EXPECT_EQ(Numbers::readLoose(QStringLiteral("　5")), 0);
}

TEST(Numbers, DoubleTextIsSignedWithoutExponentOrLostDigits)
{
    EXPECT_EQ(Numbers::reportText(-2.5), QStringLiteral("-2.5"));
    EXPECT_EQ(Numbers::reportText(0.0), QStringLiteral(" 0"));
    EXPECT_EQ(Numbers::reportText(0.25), QStringLiteral(" 0.25"));
    EXPECT_EQ(Numbers::reportText(1234567.0), QStringLiteral(" 1234567"));
    EXPECT_EQ(Numbers::reportText(2147483648.0), QStringLiteral(" 2147483648"));
    EXPECT_EQ(Numbers::plainText(-3.25), QStringLiteral("-3.25"));
    EXPECT_EQ(Numbers::plainText(-0.0), QStringLiteral("0"));
    EXPECT_EQ(Numbers::plainText(1234567.5), QStringLiteral("1234567.5"));
}

TEST(Numbers, IntegerTextBeyondThirtyTwoBits)
{
    EXPECT_EQ(Numbers::reportText(qint64(5000000000)), QStringLiteral(" 5000000000"));
    EXPECT_EQ(Numbers::reportText(qint64(-5000000000)), QStringLiteral("-5000000000"));
    EXPECT_EQ(Numbers::reportText(qint64(-1)), QStringLiteral("-1"));
    EXPECT_EQ(Numbers::plainText(qint64(-5000000000)), QStringLiteral("-5000000000"));
    EXPECT_EQ(Numbers::plainText(qint64(0)), QStringLiteral("0"));
}

} // namespace
