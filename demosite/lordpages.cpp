// The player's own page, lord profiles and the alliance page.
#include "demosite/html.h"
#include "demosite/pages.h"

using html::escape;
using html::number;

namespace pages {

namespace {

std::string coordinates(int x, int y)
{
    return number(x) + "," + number(y);
}

std::string landLink(const Place &place, const std::string &extra, const std::string &text)
{
    return "<a href=\"/land.php?x=" + number(place.x) + "&y=" + number(place.y) + extra + "\">" +
           escape(text) + "</a>";
}

// The profile shows sub-leader roles with a blank before the bracket, as
// the game does; readers drop ASCII blanks from the role. The second
// sub-leader shows without it, so both forms are on the site.
std::string shownRole(const std::string &role)
{
    const std::string bracket = "（";
    const auto at = role.find(bracket);
    if (at == std::string::npos || at == 0 || role == "盟主補佐（二）")
        return role;
    return role.substr(0, at) + " " + role.substr(at);
}

std::string statusRows(const World &world, const Lord &lord)
{
    const Alliance *alliance = world.alliance(lord.allianceId);
    std::string rows;
    rows += "<tr><th><img src=\"/img/lord.svg\" alt=\"城主名\"></th><td><strong>" + escape(lord.name) +
            "</strong></td></tr>\n";
    rows += "<tr><th><img src=\"/img/level.svg\" alt=\"城主レベル\"></th><td><p class=\"para\">Lv." +
            number(lord.level) + "<span class=\"note\">（経験値 " + number(lord.level * 1250L + 40) +
            "）</span></p></td></tr>\n";
    rows += "<tr><th>人口数</th><td><p class=\"para\">" + number(lord.population) +
            "<span class=\"unit\">人</span></p></td></tr>\n";
    rows += "<tr><th>戦功</th><td><p class=\"para\">総戦功<br>" + number(lord.merit) + " pt</p></td></tr>\n";
    if (alliance != nullptr) {
        rows += "<tr><th>所属同盟</th><td><a href=\"/alliance/info.php?id=" + number(alliance->id) + "\">" +
                escape(alliance->name) + "</a></td></tr>\n";
        rows += "<tr><th><img src=\"/img/role.svg\" alt=\"役職\"></th><td><p class=\"para\">" +
                escape(shownRole(lord.role)) + "</p></td></tr>\n";
        rows += "<tr><th>同盟規模</th><td><p class=\"para\">" +
                number(static_cast<long long>(alliance->memberIds.size())) + "人<span class=\"rank\">" +
                number(alliance->rank) + "位</span></p></td></tr>\n";
    } else {
        rows += "<tr><th>所属同盟</th><td>－</td></tr>\n";
        rows +=
            "<tr><th><img src=\"/img/role.svg\" alt=\"役職\"></th><td><p class=\"para\">－</p></td></tr>\n";
        rows += "<tr><th>同盟規模</th><td><p class=\"para\">－</p></td></tr>\n";
    }
    return rows;
}

// Rows end in "</td></tr>" without blanks: readers cut the home row there.
std::string landRows(const Lord &lord)
{
    std::string rows = "<tr><td>本領</td><td>" + escape(lord.home.name) + "(本拠地)</td><td>" +
                       landLink(lord.home, "&c=1", coordinates(lord.home.x, lord.home.y)) + "</td></tr>\n";
    for (const Place &fief : lord.fiefs) {
        rows += "<tr><td>所領</td><td>" + escape(fief.name) + "</td><td>" +
                landLink(fief, "", coordinates(fief.x, fief.y)) + "</td></tr>\n";
    }
    for (const Place &castle : lord.branchCastles) {
        rows += "<tr><td>出城</td><td>" + landLink(castle, "", castle.name) + "</td><td>" +
                landLink(castle, "", coordinates(castle.x, castle.y)) + "</td></tr>\n";
    }
    return rows;
}

} // namespace

std::string userPage(const World &world, bool withSideBox)
{
    const Lord &player = world.player();
    const Alliance *alliance = world.alliance(player.allianceId);
    std::string main;
    if (withSideBox) {
        main += "<div class=\"sideBox\"><div class=\"sideBoxInner basename\">\n<ul class=\"lordBox\"><li "
                "id=\"lordName\">" +
                escape(player.name) + "</li>\n";
        if (alliance != nullptr) {
            main += "<li><a href=\"/alliance/info.php?id=" + number(alliance->id) + "\">同盟</a> " +
                    escape(alliance->name) + "</li>\n";
        }
        main += "</ul>\n<table class=\"villageList\">\n";
        auto villageRow = [](const char *kind, const Place &place) {
            return std::string("<tr><td>") + kind +
                   "</td><td><a href=\"/village_change.php?village_id=" + number(place.villageId) + "\">" +
                   escape(place.name) + "</a></td><td>" + landLink(place, "", coordinates(place.x, place.y)) +
                   "</td></tr>\n";
        };
        main += villageRow("本領", player.home);
        for (const Place &fief : player.fiefs)
            main += villageRow("所領", fief);
        main += "</table>\n</div></div>\n";
    }
    main += "<div class=\"status\"><h2>城主情報</h2>\n<p>" + escape(player.name) + " Lv." +
            number(player.level) + "　人口 " + number(player.population) + "人　総戦功 " +
            number(player.merit) +
            " pt</p>\n"
            "<h3>お知らせ</h3>\n<ul><li>合戦（第5回）が開催中です。</"
            "li><li>同盟ポイントは毎日集計されます。</li></ul>\n"
            "<p><a href=\"/user/?user_id=" +
            number(player.userId) + "\">自分のプロフィールを見る</a></p></div>\n";
    return html::worldPage("城主情報", world.playerAllianceId, main);
}

std::string profilePage(const World &world, int userId, bool complete)
{
    const Lord *lord = world.lord(userId);
    std::string main;
    if (lord == nullptr) {
        main = "<h2>城主情報</h2>\n<p>指定された城主は存在しません。</p>\n";
    } else if (!complete) {
        main = "<h2>城主情報</h2>\n<p>城主情報を読み込めませんでした。しばらくしてから再度お試しください。</"
               "p>\n";
    } else {
        main = "<h2>城主情報</h2>\n<table class=\"profile\">\n" + statusRows(world, *lord) +
               "</table>\n<h3>領地情報</h3>\n<table "
               "class=\"landList\">\n<tr><th>種別</th><th>名称</th><th>座標</th></tr>\n" +
               landRows(*lord) + "</table>\n<!-- /領地情報 -->\n";
    }
    return html::worldPage("城主情報", world.playerAllianceId, main);
}

std::string alliancePage(const World &world, int allianceId, bool withMemberTable)
{
    const Alliance *alliance = world.alliance(allianceId);
    if (alliance == nullptr) {
        return html::worldPage("同盟情報", world.playerAllianceId,
                               "<h2>同盟情報</h2>\n<p>指定された同盟は存在しません。</p>\n");
    }
    long long totalPoints = 0;
    for (int id : alliance->memberIds)
        totalPoints += world.lord(id)->points;
    std::string main = "<h2>同盟情報</h2>\n<table class=\"allianceInfo\">\n<tr><th>同盟名</th><td>" +
                       escape(alliance->name) + "</td></tr>\n";
    if (!alliance->memberIds.empty()) {
        const Lord *leader = world.lord(alliance->memberIds.front());
        main += "<tr><th>代表</th><td><a href=\"/user/?user_id=" + number(leader->userId) + "\">" +
                escape(leader->name) + "</a></td></tr>\n";
    }
    main += "<tr><th>順位</th><td>" + number(alliance->rank) + "位</td></tr>\n<tr><th>人数</th><td>" +
            number(static_cast<long long>(alliance->memberIds.size())) +
            "人</td></tr>\n<tr><th>同盟ポイント合計</th><td>" + number(totalPoints) +
            "</td></tr>\n</table>\n";
    if (!withMemberTable) {
        main += "<p>メンバー一覧を読み込めませんでした。しばらくしてから再度お試しください。</p>\n";
        return html::worldPage("同盟情報", world.playerAllianceId, main);
    }
    // Five plain cells after the member link: points, population, level,
    // fief count, role padded with full-width blanks. The last row ends the
    // table with no blank before "</table>".
    main += "<h3>メンバー一覧</h3>\n<table "
            "class=\"memberList\">\n<tr><th>城主名</th><th>同盟ポイント</th><th>人口</th>"
            "<th>レベル</th><th>所領数</th><th>役職</th></tr>";
    main.reserve(main.size() + alliance->memberIds.size() * 260);
    for (int id : alliance->memberIds) {
        const Lord &member = *world.lord(id);
        main += "\n<tr class=\"fs12\"><td><a href=\"/user/?user_id=" + number(member.userId) + "\">" +
                escape(member.name) + "</a></td><td>" + number(member.points) + "</td><td>" +
                number(member.population) + "</td><td>" + number(member.level) + "</td><td>" +
                number(static_cast<long long>(member.fiefs.size())) + "</td><td>　" + escape(member.role) +
                "　</td></tr>";
    }
    main += "</table>\n";
    return html::worldPage("同盟情報", world.playerAllianceId, main);
}

std::string landPage(const World &world, int x, int y, bool asMap)
{
    std::string owner = "（空き地）";
    for (const Lord &lord : world.lords) {
        auto at = [&](const Place &place) { return place.x == x && place.y == y; };
        bool found = at(lord.home);
        for (const Place &place : lord.fiefs)
            found = found || at(place);
        for (const Place &place : lord.branchCastles)
            found = found || at(place);
        if (found) {
            owner = "<a href=\"/user/?user_id=" + number(lord.userId) + "\">" + escape(lord.name) + "</a>";
            break;
        }
    }
    const std::string title = asMap ? "地図" : "土地情報";
    return html::worldPage(title, world.playerAllianceId,
                           "<h2>" + title + "</h2>\n<p>座標 (" + coordinates(x, y) + ")　領主 " + owner +
                               "</p>\n");
}

std::string helpPage(const World &world, bool rules)
{
    const std::string main =
        rules ? "<h2>発言の注意</h2>\n<p>他の城主を不快にさせる発言は控えましょう。</p>\n"
              : "<h2>ヘルプ</"
                "h2>\n<p>このサイトは戦国OVEKのデモサイトです。画面はすべて生成されたデータです。</p>\n";
    return html::worldPage(rules ? "発言の注意" : "ヘルプ", world.playerAllianceId, main);
}

std::string sessionOutPage(const std::string &topUrl)
{
    return html::plainPage("セッション切れ",
                           "<h2>ログインセッションが切れました</h2>\n<p>お手数ですが、<a href=\"" +
                               escape(topUrl) + "/\">トップページ</a>から再度ログインしてください。</p>\n");
}

std::string notFoundPage()
{
    return html::plainPage("ページが見つかりません",
                           "<h2>404 Not Found</h2>\n<p>ページが見つかりません。</p>\n");
}

} // namespace pages
