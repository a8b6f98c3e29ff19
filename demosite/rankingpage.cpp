#include "demosite/html.h"
#include "demosite/pages.h"

#include <algorithm>

using html::escape;
using html::number;

namespace pages {

namespace {

std::string rankingAddress(RankingCategory category, int page)
{
    switch (category) {
    case RankingCategory::Attack:
        return "/war/war_ranking.php?m=attack&c=5&p=" + number(page);
    case RankingCategory::Defense:
        return "/war/war_ranking.php?m=defense&c=5&p=" + number(page);
    case RankingCategory::Total:
        return "/war/war_ranking.php?m=total&c=5&p=" + number(page);
    case RankingCategory::Merit:
        break;
    }
    return "/war/war_ranking.php?p=" + number(page);
}

std::string pager(const World &world, RankingCategory category, int page)
{
    const int last = world.rankingPageCount();
    std::string out = "<div class=\"pager\">ページ送り";
    if (page > 1)
        out += " <a href=\"" + escape(rankingAddress(category, page - 1)) + "\">前へ</a>";
    for (int p = std::max(1, page - 5); p <= std::min(last, page + 5); ++p) {
        out += p == page ? " <strong>" + number(p) + "</strong>"
                         : " <a href=\"" + escape(rankingAddress(category, p)) + "\">" + number(p) + "</a>";
    }
    if (page < last)
        out += " <a href=\"" + escape(rankingAddress(category, page + 1)) + "\">次へ</a>";
    return out + "</div>\n";
}

} // namespace

std::string rankingPage(const World &world, RankingCategory category, int page, bool withTable)
{
    static const char *const kCaptions[] = {"戦功", "攻撃", "防御", "総合"};
    std::string main = "<h2>合戦格付 第5回</h2>\n<div class=\"tabs\">";
    for (int c = 0; c < kRankingCategories; ++c) {
        const auto each = static_cast<RankingCategory>(c);
        main += (c == 0 ? "" : " ");
        main += each == category
                    ? std::string("<strong>") + kCaptions[c] + "</strong>"
                    : "<a href=\"" + escape(rankingAddress(each, 1)) + "\">" + kCaptions[c] + "</a>";
    }
    main += "</div>\n";
    if (!withTable) {
        // Not a ranking page at all: the server's maintenance notice, outside
        // the world's frame.
        return html::plainPage("メンテナンス中",
                               "<p>ただいまメンテナンス中です。しばらくしてから再度お試しください。</p>\n");
    }
    const auto &order = world.ranking[static_cast<std::size_t>(category)];
    const int first = (page - 1) * World::kRankingPerPage;
    if (first >= static_cast<int>(order.size())) {
        // Past the last ranked lord: the ranking's frame without its table.
        main += "<p>該当する城主はいません。</p>\n";
        return html::worldPage("合戦格付", world.playerAllianceId, main);
    }
    // The rank cell runs straight into the name cell: the page text of a row
    // begins with the rank followed by the lord's name. Score cells are plain
    // "<td>", in the order 戦功, 攻撃, 防御, 総合.
    main += "<table class=\"ranking\">\n<tr><th>順位</th><th>城主名</th><th><img src=\"/img/country.svg\" "
            "alt=\"攻撃国\">"
            "</th><th>戦功</th><th>攻撃</th><th>防御</th><th>総合</th></tr>\n";
    for (int i = first; i >= 0 && i < first + World::kRankingPerPage && i < static_cast<int>(order.size());
         ++i) {
        const Lord &lord = *world.lord(order[static_cast<std::size_t>(i)]);
        const Alliance *alliance = world.alliance(lord.allianceId);
        main += "<tr><td>" + number(i + 1) + "</td><td><a href=\"/user/?user_id=" + number(lord.userId) +
                "\">" + escape(lord.name) + "</a></td>\n<td>";
        main += alliance != nullptr ? "<a href=\"/alliance/info.php?id=" + number(alliance->id) + "\">" +
                                          escape(alliance->name) + "</a>"
                                    : std::string("－");
        main += "</td>\n";
        for (int score : lord.scores)
            main += "<td>" + number(score) + "</td>\n";
        main += "</tr>\n";
    }
    main += "</table>\n" + pager(world, category, page);
    return html::worldPage("合戦格付", world.playerAllianceId, main);
}

} // namespace pages
