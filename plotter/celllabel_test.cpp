#include "plotter/celllabel.h"
#include "plotter/plotterfakes.h"

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
