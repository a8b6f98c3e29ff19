#include "composer/addressees.h"
#include "testsupport/common/qtprinters.h"

#include <gtest/gtest.h>

using namespace Addressees;

TEST(AddresseesTest, PickingAddsUpToThreeNamesAndRefusesTheFourth)
{
    QString field;
    for (const QString &name : {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")})
        field = addPicked(field, name).value();
    EXPECT_EQ(field, QStringLiteral("A,B,C"));
    EXPECT_FALSE(addPicked(field, QStringLiteral("D")).has_value());
    // The same name may be picked twice; blanks at both ends of the field go,
    // the ideographic space stays.
    EXPECT_EQ(addPicked(QStringLiteral("  A "), QStringLiteral("A")), QStringLiteral("A,A"));
    EXPECT_EQ(addPicked(QStringLiteral("　A"), QStringLiteral("B")), QStringLiteral("　A,B"));
    // Counting is by "," parts: a stray comma counts as a name.
    EXPECT_FALSE(addPicked(QStringLiteral("A,,B"), QStringLiteral("C")).has_value());
    EXPECT_EQ(addPicked(QStringLiteral("A,"), QStringLiteral("B")), QStringLiteral("A,,B"));
}

TEST(AddresseesTest, SendingTakesThreeNamesAndLeavesTheRest)
{
    const Split five = splitForSending(QStringLiteral("A,B,C,D,E"));
    EXPECT_EQ(five.to, QStringLiteral("A,B,C"));
    EXPECT_EQ(five.rest, QStringLiteral("D,E"));
    const Split three = splitForSending(QStringLiteral("A,B,C"));
    EXPECT_EQ(three.to, QStringLiteral("A,B,C"));
    EXPECT_EQ(three.rest, QString());
    const Split four = splitForSending(QStringLiteral("A,B,C,D"));
    EXPECT_EQ(four.rest, QStringLiteral("D"));
    // Fewer than three: written as it stands, and kept in the field.
    const Split two = splitForSending(QStringLiteral("A, B"));
    EXPECT_EQ(two.to, QStringLiteral("A, B"));
    EXPECT_EQ(two.rest, QStringLiteral("A, B"));
    // Empty parts are left out; the names around them stay apart.
    EXPECT_EQ(splitForSending(QStringLiteral("A,,B,C")).to, QStringLiteral("A,B"));
    EXPECT_EQ(splitForSending(QStringLiteral("A,,B,C")).rest, QStringLiteral("C"));
    EXPECT_EQ(splitForSending(QStringLiteral("A,B,C,,D,,,E")).rest, QStringLiteral("D,E"));
    EXPECT_EQ(splitForSending(QStringLiteral("A,B,C,")).rest, QString());
}

TEST(AddresseesTest, ExtraListAndPouredTextKeepNamesInOrder)
{
    EXPECT_EQ(extraNames({QStringLiteral(" 甲 "), QStringLiteral("   "), QString(),
                          QStringLiteral("乙,\"丙\""), QStringLiteral("　丁")}),
              (QStringList{QStringLiteral("甲"), QStringLiteral("乙,\"丙\""), QStringLiteral("　丁")}));
    EXPECT_EQ(pouredLines(QStringLiteral("A\r\nB \r\n\r\nC")),
              (QStringList{QStringLiteral("A"), QStringLiteral("B "), QStringLiteral("C")}));
    // Lines copied on this desktop end with LF alone.
    EXPECT_EQ(pouredLines(QStringLiteral("A\nB\n")), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
}
