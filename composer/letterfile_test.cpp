#include "composer/letterfile.h"
#include "testsupport/common/qtprinters.h"

#include <gtest/gtest.h>

using namespace LetterFile;

TEST(LetterFileTest, NamesAreMadeAndTakenApartPerWorld)
{
    EXPECT_EQ(fileName(QStringLiteral("3"), QStringLiteral("X")), QStringLiteral("書状3_X.txt"));
    EXPECT_EQ(pattern(QStringLiteral("12")), QStringLiteral("書状12_*.txt"));
    EXPECT_EQ(letterNames(QStringLiteral("3"),
                          {QStringLiteral("書状3_出欠.txt"), QStringLiteral("書状3_a.txt.txt")}),
              (QStringList{QStringLiteral("出欠"), QStringLiteral("a")}));
}

TEST(LetterFileTest, FormatKeepsTheSubjectAndDropsOnlyTheBlanksAtTheBodysEnd)
{
    EXPECT_EQ(format(QStringLiteral(" 件名 "), QStringLiteral("一行目  \r\n二行目  ")),
              QStringLiteral("TO: 件名 \r\n一行目  \r\n二行目"));
    EXPECT_EQ(format(QStringLiteral("X"), QStringLiteral("本文\r\n\r\n\r\n")),
              QStringLiteral("TO:X\r\n本文\r\n\r\n\r\n"));
    EXPECT_EQ(dropTrailingSpaces(QStringLiteral("a\t　 ")), QStringLiteral("a\t　"));
}

TEST(LetterFileTest, ParsingTakesTheSubjectLinesBeforeTheBody)
{
    const Loaded letter = parse({QStringLiteral("TO:件名  "), QStringLiteral("本文1  "),
                                 QStringLiteral("TO:本文"), QString(), QString()},
                                QStringLiteral("前の件名"));
    EXPECT_EQ(letter.subject, QStringLiteral("件名"));
    EXPECT_EQ(letter.body, QStringLiteral("本文1\r\nTO:本文\r\n\r\n"));
    // No subject line: every line is body and the subject stays.
    const Loaded bare =
        parse({QStringLiteral("to:小文字"), QStringLiteral("TO")}, QStringLiteral("前の件名"));
    EXPECT_EQ(bare.subject, QStringLiteral("前の件名"));
    EXPECT_EQ(bare.body, QStringLiteral("to:小文字\r\nTO"));
    // "TO:" alone is an empty subject; a second subject line wins.
    EXPECT_EQ(parse({QStringLiteral("TO:")}, QStringLiteral("x")).subject, QString());
    EXPECT_EQ(parse({QStringLiteral("TO:a"), QStringLiteral("TO:b"), QStringLiteral("c")}, {}).subject,
              QStringLiteral("b"));
}

TEST(LetterFileTest, NamesThatCannotBeAFileNameAreRefused)
{
    const QString world = QStringLiteral("3");
    for (const QString &bad :
         {QStringLiteral("../x"), QStringLiteral("a/b"), QStringLiteral("a\\b"), QStringLiteral(".."),
          QStringLiteral("a..b"), QStringLiteral("C:x"), QStringLiteral("a*"), QStringLiteral("a?"),
          QStringLiteral("\"a\""), QStringLiteral("<a>"), QStringLiteral("a|b"), QStringLiteral("a\tb"),
          QStringLiteral("a\nb"), QStringLiteral("a."), QString(300, u'長')}) {
        SCOPED_TRACE(bad.toStdString());
        EXPECT_FALSE(nameRefusal(bad, world).isEmpty());
    }
    for (const QString &good : {QStringLiteral("出欠確認"), QStringLiteral("a.b"),
                                QStringLiteral("【告知】 合戦"), QStringLiteral("𠮷野"), QString(75, u'長')})
        EXPECT_EQ(nameRefusal(good, world), QString()) << good.toStdString();
}
