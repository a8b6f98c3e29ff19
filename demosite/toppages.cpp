#include "demosite/html.h"
#include "demosite/pages.h"

#include <algorithm>
#include <map>

using html::escape;
using html::number;

namespace pages {

std::string topIndexPage(bool loggedIn, const std::string &loginName)
{
    std::string main = "<h1>戦国OVEK</h1>\n<p>群雄割拠の戦国の世へ。</p>\n";
    if (loggedIn) {
        main += "<p>" + escape(loginName) +
                " さん、ようこそ。</p>\n<p><a href=\"/game_start.php\">ゲームスタート</a></p>\n"
                "<p><a href=\"/logout.php\">ログアウト</a></p>\n";
    } else {
        main += "<p><a href=\"/index.php?event=OAuth\">ログイン</a></p>\n"
                "<p><a href=\"/index.php?event=OAuth\">JAPAN IDをお持ちでない方もこちら</a></p>\n";
    }
    return html::topPage("トップ", main);
}

std::string loginFormPage(const std::string &error)
{
    std::string main = "<h2>ログイン</h2>\n";
    if (!error.empty())
        main += "<p class=\"error\">" + escape(error) + "</p>\n";
    main += "<p>城主名を入力してログインしてください（パスワードは不要です）。</p>\n"
            "<form method=\"post\" action=\"/index.php?event=OAuth\">\n<label>城主名 <input type=\"text\" "
            "id=\"name\" "
            "name=\"name\"></label>\n<button type=\"submit\" id=\"login\">ログイン</button>\n</form>\n";
    return html::topPage("ログイン", main);
}

std::string worldSelectPage(const std::string &worldEntryUrl, int worldNumber)
{
    std::string main = "<h2>ワールド選択</h2>\n<ul class=\"worlds\">\n";
    for (int w = 1; w <= std::max(5, worldNumber); ++w) {
        if (w > 5 && w != worldNumber)
            continue;
        const std::string digits = number(w);
        const std::string title = "w" + std::string(digits.size() < 3 ? 3 - digits.size() : 0, '0') + digits;
        const std::string href = w == worldNumber ? worldEntryUrl : "/world_closed.php?w=" + number(w);
        main +=
            "<li><a href=\"" + escape(href) + "\" title=\"" + title + "\">第" + number(w) + "陣</a></li>\n";
    }
    return html::topPage("ワールド選択", main + "</ul>\n");
}

std::string worldClosedPage(int worldNumber)
{
    return html::topPage("ワールド選択", "<h2>第" + number(worldNumber) +
                                             "陣</h2>\n<p>このワールドは現在受付を停止しています。</p>\n"
                                             "<p><a href=\"/game_start.php\">ワールド選択へ戻る</a></p>\n");
}

std::string headingImage(const std::string &name)
{
    static const std::map<std::string, std::string> labels = {
        {"lord.svg", "城主名"}, {"level.svg", "城主レベル"}, {"role.svg", "役職"}, {"country.svg", "攻撃国"}};
    const auto it = labels.find(name);
    if (it == labels.end())
        return {};
    const int width = 14 * static_cast<int>(it->second.size() / 3) + 8;
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + number(width) +
           "\" height=\"18\"><rect width=\"100%\" height=\"100%\" rx=\"3\" fill=\"#7a3b14\"/><text x=\"4\" "
           "y=\"14\" "
           "font-size=\"13\" fill=\"#fff\" font-family=\"sans-serif\">" +
           it->second + "</text></svg>";
}

} // namespace pages
