#include "demosite/names.h"

#include <sstream>

namespace {

std::vector<std::string> words(const char *text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    std::string word;
    while (in >> word)
        result.push_back(word);
    return result;
}

// Texts that stand on the pages between the header menu and the ranking
// rows, so no name may be part of them.
const char *const kFixedTexts =
    "戦国OVEK 第3陣 ログアウト ヘルプ 発言の注意 プロフィール 同盟情報 合戦格付 受信箱 "
    "書状作成 順位城主名戦功攻撃防御総合 ページ送り 前へ 次へ 人 pt 位 － Lv.";

} // namespace

NameBook::NameBook()
    : m_fixedTexts(QString::fromUtf8(kFixedTexts).toCaseFolded()),
      m_families(
          words("織田 武田 上杉 北条 今川 毛利 島津 伊達 真田 長宗我部 浅井 朝倉 斎藤 三好 大友 龍造寺 "
                "最上 佐竹 南部 宇喜多 小早川 吉川 細川 松永 柴田 丹羽 前田 明智 羽柴 徳川 本多 榊原 "
                "井伊 酒井 石田 大谷 加藤 福島 黒田 蜂須賀 竹中 片倉 鍋島 立花 高橋 蒲生 藤堂 山内 "
                "仙石 筒井 結城 里見 相良 伊東 有馬 大村 尼子 赤松 山名 六角 畠山 一色 京極 九鬼")),
      m_givens(words("信長 信玄 謙信 氏康 義元 元就 義久 政宗 幸村 元親 長政 義景 道三 長慶 宗麟 隆信 義光 "
                     "義重 信直 秀家 隆景 元春 幽斎 久秀 勝家 長秀 利家 光秀 秀吉 家康 忠勝 康政 直政 忠次 "
                     "三成 吉継 清正 正則 官兵衛 半兵衛 景綱 直茂 宗茂 紹運 氏郷 高虎 一豊 秀久 順慶 晴信 "
                     "輝虎 氏政 氏直 義弘 歳久 家久 昌幸 信之 盛親 信繁 重成 又兵衛 左近 兼続 景勝 義隆")),
      m_allianceStems(words("蒼天 紅蓮 月下 風林 火山 天下 白虎 青龍 朱雀 玄武 疾風 迅雷 桜花 烈火 "
                            "金剛 不動 鳳凰 麒麟 八咫 雲海 星影 夜叉 修羅 無双 天翔 黎明")),
      m_allianceEndings(words("連合 同盟 衆 会 軍 組 党 隊")),
      m_places(words("春日山 小田原 駿府 安芸 清洲 岐阜 躑躅ヶ崎 米沢 上田 岡豊 小谷 一乗谷 稲葉山 飯盛山 "
                     "府内 佐賀 山形 太田 三戸 岡山 三原 月山 勝瑞 多聞山 北ノ庄 小松 坂本 長浜 浜松 "
                     "桑名 館林 彦根 川越 忍 鉢形 佐和山 敦賀 熊本 福岡"))
{
}

bool NameBook::accept(const std::string &name)
{
    const QString folded = QString::fromUtf8(name).toCaseFolded();
    if (folded.isEmpty() || m_fixedTexts.contains(folded))
        return false;
    for (const QString &taken : std::as_const(m_taken)) {
        if (taken.contains(folded) || folded.contains(taken))
            return false;
    }
    m_taken.append(folded);
    return true;
}

std::string NameBook::lordName(Rng &rng)
{
    for (;;) {
        std::string name = rng.pick(m_families) + rng.pick(m_givens);
        // A few names carry an ASCII space between family and given name.
        if (rng.chance(4)) {
            const std::string family = rng.pick(m_families);
            name = family + " " + rng.pick(m_givens);
        }
        if (accept(name))
            return name;
    }
}

std::string NameBook::allianceName(Rng &rng)
{
    for (;;) {
        const std::string name = rng.pick(m_allianceStems) + rng.pick(m_allianceEndings);
        if (accept(name))
            return name;
    }
}

std::string NameBook::placeName(Rng &rng) const
{
    return rng.pick(m_places);
}

const std::vector<std::string> &NameBook::oddLordNames()
{
    static const std::vector<std::string> names = {
        "真田 昌輝",      // ASCII space
        "ＳＡＭＵＲＡＩ", // full-width Latin letters
        "ﾀﾞﾃﾏｻﾑﾈ",        // half-width katakana with voiced marks
        "凛",             // one character
        "𠮷川広家",       // U+20BB7: not in code page 932
        "ﾊﾟﾝﾀﾞ丸",        // half-width katakana with a semi-voiced mark
        "Ｋｅｎ一郎",     // full-width Latin mixed with kanji
        "佐々木 小次郎",  // iteration mark and a space
        "嵐",             // one character
        "ねね",           // hiragana only
        "𩸽丸",           // U+29E3D: not in code page 932
    };
    return names;
}
