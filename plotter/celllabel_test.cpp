#include "plotter/celllabel.h"
#include "testsupport/plotter/plotterfakes.h"

#include <gtest/gtest.h>

using namespace Plotter;

namespace {

QStringList split(const char *utf8)
{
    return q(utf8).split(QLatin1Char('|'));
}

} // namespace

TEST(FullWidth, LettersDigitsSignsAndBlank)
{
    EXPECT_EQ(fullWidthCharacters(q("aZ09")), split("ａ|Ｚ|０|９"));
    EXPECT_EQ(fullWidthCharacters(q("!~-_ ")), split("！|～|－|＿|　"));
    EXPECT_EQ(fullWidthCharacters(q("武田ａ")), split("武|田|ａ"));
}

TEST(FullWidth, HalfWidthKanaJoinTheirVoicedMarks)
{
    EXPECT_EQ(fullWidthCharacters(q("ｶﾞﾊﾟｲｰ")), split("ガ|パ|イ|ー"));
    EXPECT_EQ(fullWidthCharacters(q("ｳﾞｦ｡")), split("ヴ|ヲ|。"));
    // A mark with no joined form, or standing alone, becomes the spacing mark.
    EXPECT_EQ(fullWidthCharacters(q("ｱﾞﾟ")), split("ア|゛|゜"));
}

TEST(FullWidth, CharacterOutsideTheBasicPlaneStaysWhole)
{
    EXPECT_EQ(fullWidthCharacters(q("𠮷田")), split("𠮷|田"));
}

TEST(CellLabel, SecondCharacterOverlapsTheFirstBy12Twips)
{
    RecordingCanvas canvas;
    CellLabel(canvas, q("abc"), 1000, 2000);
    ASSERT_EQ(canvas.texts.size(), 2);
    EXPECT_EQ(canvas.textsAt(1000, 2000), QStringList({q("ａ")}));
    EXPECT_EQ(canvas.textsAt(1000 + RecordingCanvas::UnitWidth - 12, 2000), QStringList({q("ｂ")}));
}

TEST(CellLabel, OneCharacterNameShowsThatCharacter)
{
    RecordingCanvas canvas;
    CellLabel(canvas, q("武"), 10, 20);
    ASSERT_EQ(canvas.texts.size(), 1);
    EXPECT_EQ(canvas.texts.at(0).text, q("武"));
}

TEST(CellLabel, TwoCharactersWhateverTheirLengthInUnits)
{
    RecordingCanvas wide;
    CellLabel(wide, q("𠮷田"), 0, 0);
    ASSERT_EQ(wide.texts.size(), 2);
    EXPECT_EQ(wide.texts.at(0).text, q("𠮷"));
    EXPECT_EQ(wide.texts.at(1).text, q("田"));
    // The first character is two units wide on the fake canvas.
    EXPECT_EQ(wide.texts.at(1).left, 2 * RecordingCanvas::UnitWidth - 12);

    RecordingCanvas kana;
    CellLabel(kana, q("ｶﾞﾊﾟｲ"), 0, 0);
    ASSERT_EQ(kana.texts.size(), 2);
    EXPECT_EQ(kana.texts.at(0).text, q("ガ"));
    EXPECT_EQ(kana.texts.at(1).text, q("パ"));

    RecordingCanvas mixed;
    CellLabel(mixed, q("ﾊﾟ𠮷田"), 5, 7);
    EXPECT_EQ(mixed.textsAt(5, 7), QStringList({q("パ")}));
    EXPECT_EQ(mixed.textsAt(5 + RecordingCanvas::UnitWidth - 12, 7), QStringList({q("𠮷")}));
}

TEST(CellLabel, EmptyNameDrawsNothing)
{
    RecordingCanvas canvas;
    CellLabel(canvas, QString(), 10, 20);
    EXPECT_TRUE(canvas.texts.isEmpty());
}

TEST(FullWidth, RangeEdgesOfTheConvertedCharacters)
{
    // Below "!" and above "~" nothing changes; the kana block ends at the
    // semi-voiced mark.
    EXPECT_EQ(fullWidthCharacters(q("\x7f")), QStringList({q("\x7f")}));
    EXPECT_EQ(fullWidthCharacters(q("\t")), QStringList({q("\t")}));
    EXPECT_EQ(fullWidthCharacters(q("\xef\xbd\xa0")), QStringList({q("\xef\xbd\xa0")})); // U+FF60
    EXPECT_EQ(fullWidthCharacters(q("ﾝﾞ")), split("ン|゛"));
    EXPECT_EQ(fullWidthCharacters(q("ﾟｶ")), split("゜|カ"));
    // A lone surrogate at the end stays as it is.
    const QString lone = QString(QChar(0xD842));
    EXPECT_EQ(fullWidthCharacters(lone), QStringList({lone}));
}
