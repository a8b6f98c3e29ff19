#include "alliance/walk/toolwindowlayout.h"

namespace ToolWindowLayout {

const std::vector<DesignedControl> &controls()
{
    using K = DesignedControl::Kind;
    const QString frame1 = QStringLiteral("Frame1");
    const QString frame2 = QStringLiteral("Frame2");
    static const std::vector<DesignedControl> table{
        {K::Frame, frame2, QStringLiteral("合戦格付抽出"), {120, 120, 1695, 1935}, {}},
        {K::Combo, QStringLiteral("Combo1"), {}, {120, 240, 1335, 300}, frame2},
        {K::Option, QStringLiteral("Option1(0)"), QStringLiteral("戦功"), {120, 600, 735, 255}, frame2},
        {K::Option, QStringLiteral("Option1(1)"), QStringLiteral("攻撃"), {840, 600, 700, 255}, frame2},
        {K::Option, QStringLiteral("Option1(2)"), QStringLiteral("防御"), {120, 840, 700, 255}, frame2},
        {K::Option, QStringLiteral("Option1(3)"), QStringLiteral("総合"), {840, 840, 700, 255}, frame2},
        {K::Button, QStringLiteral("Command6"), QStringLiteral("データ保存"), {120, 1140, 1455, 255}, frame2},
        {K::Check,
         QStringLiteral("Check1"),
         QStringLiteral("保存データを参考にする"),
         {120, 1440, 1335, 375},
         frame2},
        {K::Button, QStringLiteral("Command2"), QStringLiteral("同盟名簿作成"), {1920, 120, 1455, 375}, {}},
        {K::Button, QStringLiteral("Command3"), QStringLiteral("出城リスト作成"), {1920, 480, 1455, 375}, {}},
        {K::Button, QStringLiteral("Command5"), QStringLiteral("同盟員活動履歴"), {1920, 840, 1455, 375}, {}},
        {K::Button, QStringLiteral("Command4"), QStringLiteral("同盟員分布図"), {1920, 1200, 1455, 375}, {}},
        {K::Button, QStringLiteral("Command1(0)"), QStringLiteral("初期化"), {1920, 1560, 735, 255}, {}},
        {K::Button, QStringLiteral("Command1(2)"), QStringLiteral("コピー"), {2640, 1560, 735, 255}, {}},
        {K::Button, QStringLiteral("Command1(1)"), QStringLiteral("拡大"), {1920, 1800, 735, 255}, {}},
        {K::LineEdit, QStringLiteral("Text4"), QStringLiteral("キーワード"), {120, 2160, 1695, 270}, {}},
        {K::Button,
         QStringLiteral("Command8"),
         QStringLiteral("返信者リストアップ"),
         {120, 2400, 1695, 375},
         {}},
        {K::Button, QStringLiteral("Command9"), QStringLiteral("書状新規作成"), {2040, 2400, 1335, 375}, {}},
        // List1 before Text1: the output box covers the list until the
        // alliance report uses it.
        {K::List, QStringLiteral("List1"), {}, {2160, 4200, 615, 600}, {}},
        {K::TextBox, QStringLiteral("Text1"), {}, {120, 2880, 3375, 3015}, {}},
        {K::Frame, frame1, {}, {120, 6000, 3255, 1575}, {}},
        {K::Label, QStringLiteral("Label1"), QStringLiteral("同盟ID"), {120, 240, 615, 255}, frame1},
        {K::LineEdit, QStringLiteral("Text2"), {}, {720, 240, 2295, 270}, frame1},
        {K::Label, QStringLiteral("Label2"), QStringLiteral("区切 人口"), {120, 600, 855, 255}, frame1},
        {K::LineEdit, QStringLiteral("Text3(0)"), QStringLiteral("300"), {960, 600, 735, 270}, frame1},
        {K::Label, QStringLiteral("Label3"), QStringLiteral("戦功"), {1800, 600, 375, 255}, frame1},
        {K::LineEdit, QStringLiteral("Text3(1)"), QStringLiteral("10000"), {2280, 600, 735, 270}, frame1},
        {K::Button,
         QStringLiteral("Command7"),
         QStringLiteral("同盟データ取得"),
         {120, 960, 1455, 255},
         frame1},
    };
    return table;
}

} // namespace ToolWindowLayout
