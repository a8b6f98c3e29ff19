#include "composer/form2layout.h"

namespace Form2Layout {

const std::vector<DesignedControl> &controls()
{
    using K = DesignedControl::Kind;
    static const std::vector<DesignedControl> table{
        {K::TextBox, QStringLiteral("Text1"), {}, {120, 840, 10095, 4815}},
        {K::Label, QStringLiteral("Label1"), QStringLiteral(":件名(ファイル名)"), {120, 120, 1335, 255}},
        {K::LineEdit, QStringLiteral("Text2"), {}, {1560, 120, 4815, 270}},
        {K::Button,
         QStringLiteral("Command2(0)"),
         QStringLiteral("内容記憶＋閉じる"),
         {6600, 120, 1695, 375}},
        {K::Button, QStringLiteral("Command2(1)"), QStringLiteral("閉じる"), {8280, 120, 855, 375}},
        {K::Button, QStringLiteral("Command4"), QStringLiteral("初期化"), {9120, 120, 1095, 375}},
        {K::List, QStringLiteral("List1"), {}, {10320, 120, 2175, 4560}},
        {K::Label, QStringLiteral("Label2"), QStringLiteral("宛名"), {120, 480, 1215, 255}},
        {K::LineEdit, QStringLiteral("Text3"), {}, {600, 480, 5775, 270}},
        {K::Button, QStringLiteral("Command1"), QStringLiteral("画面挿入"), {6480, 480, 1455, 375}},
        // The caption as users know it from the original window.
        {K::Button, QStringLiteral("Command3"), QStringLiteral("ヘージ再読み込み"), {7920, 480, 1575, 375}},
        {K::Button, QStringLiteral("Command5(1)"), QStringLiteral("保存"), {9480, 480, 735, 375}},
        {K::Button, QStringLiteral("Command8"), QStringLiteral("名簿OPEN"), {11520, 4680, 975, 375}},
        {K::Button, QStringLiteral("Command9"), QStringLiteral("名簿切替"), {10320, 5160, 1095, 375}},
        {K::Button, QStringLiteral("Command6"), QStringLiteral("宛名の流込"), {11280, 5520, 1215, 255}},
        {K::Combo, QStringLiteral("Combo1"), QStringLiteral("保存データ一覧"), {120, 5760, 7215, 300}},
        {K::Button, QStringLiteral("Command5(0)"), QStringLiteral("保存データ読込"), {7440, 5760, 1455, 375}},
        {K::Button, QStringLiteral("Command5(2)"), QStringLiteral("保存データ破棄"), {8880, 5760, 1455, 375}},
        {K::Combo, QStringLiteral("Combo2"), QStringLiteral("追加宛名"), {10440, 5880, 2055, 300}},
    };
    return table;
}

} // namespace Form2Layout
