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

TEST(AddresseesTest, AListIsJoinedWithANameHoldingACommaInQuotesAndReadBackWhole)
{
    struct Case
    {
        QStringList names;
        QString field;
    };
    const Case cases[] = {
        {{QStringLiteral("A"), QStringLiteral("B")}, QStringLiteral("A,B")},
        // Blanks inside a name are part of it; the ideographic space too.
        {{QStringLiteral("Lord A"), QStringLiteral("　乙")}, QStringLiteral("Lord A,　乙")},
        // A comma would make two lords of one: quoted, as the roster file does.
        {{QStringLiteral("甲"), QStringLiteral("a,b"), QStringLiteral("丙")},
         QStringLiteral("甲,\"a,b\",丙")},
        {{QStringLiteral("x,"), QString(), QStringLiteral("y")}, QStringLiteral("\"x,\",y")},
        {{}, QString()},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(joined(c.names), c.field);
        QStringList expected = c.names;
        expected.removeAll(QString());
        EXPECT_EQ(names(c.field), expected) << c.field.toStdString();
    }
    // A field typed by hand: empty parts are no names.
    EXPECT_EQ(names(QStringLiteral("A,,B,")), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
}

TEST(AddresseesTest, AQuotedNameTravelsWholeThroughSendingAndCountsOnce)
{
    const Split split = splitForSending(QStringLiteral("甲,\"a,b\",丙,丁,\"c,d\""));
    EXPECT_EQ(split.to, QStringLiteral("甲,\"a,b\",丙"));
    EXPECT_EQ(split.rest, QStringLiteral("丁,\"c,d\""));
    EXPECT_EQ(split.restOfList, split.rest);
    // Two names, one of them quoted: fewer than three, nothing is split.
    const Split two = splitForSending(QStringLiteral("\"a,b\",丙"));
    EXPECT_EQ(two.to, QStringLiteral("\"a,b\",丙"));
    EXPECT_EQ(two.rest, QStringLiteral("\"a,b\",丙"));
    EXPECT_EQ(two.restOfList, QString()) << "the last letter of a list takes its names out of the field";
    EXPECT_EQ(addPicked(QStringLiteral("\"a,b\",丙"), QStringLiteral("丁")), QStringLiteral("\"a,b\",丙,丁"));
}

TEST(AddresseesTest, TheCaptionCountsTheNamesWaitingWhileMoreThanOneLetterIsLeft)
{
    const std::pair<QString, QString> cases[] = {
        {QString(), QStringLiteral("　新規作成")},
        {QStringLiteral("A,B,C"), QStringLiteral("　新規作成")},
        {QStringLiteral("A,B,C,D"), QStringLiteral("　新規作成（残り 4名）")},
        {QStringLiteral("A,,B,C,"), QStringLiteral("　新規作成")},
        {QStringLiteral("1,2,3,4,5,6,7,8,9,\"a,b\""), QStringLiteral("　新規作成（残り 10名）")},
    };
    for (const auto &[field, caption] : cases)
        EXPECT_EQ(Addressees::caption(field), caption) << field.toStdString();
}

TEST(AddresseesTest, NamesTheRosterDoesNotHoldAreFoundWithoutMindingBlanks)
{
    const QStringList roster{QStringLiteral("LordA"), QStringLiteral("甲"), QStringLiteral("a,b")};
    EXPECT_EQ(notInRoster({QStringLiteral("Lord A"), QStringLiteral("乙"), QStringLiteral("a,b"),
                           QStringLiteral("甲"), QStringLiteral("　甲")},
                          roster),
              (QStringList{QStringLiteral("乙"), QStringLiteral("　甲")}));
    EXPECT_EQ(notInRoster({QStringLiteral("甲")}, {}), QStringList{QStringLiteral("甲")});
}
