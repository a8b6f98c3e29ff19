#include "demosite/html.h"

namespace html {

namespace {

// Kept short: the member table must begin early in the page markup.
const char *const kStyle =
    "body{font-family:'Noto Sans CJK JP','IPAMincho',sans-serif;margin:0;background:#f4efe1;color:#2b1d0e}"
    "#header{background:#5b2a12;color:#fff;padding:6px 12px}#header a{color:#ffd98a;margin-left:4px}"
    ".logo{font-weight:bold;font-size:18px}#nav{background:#e2d3ae;padding:4px 12px}#nav a{margin-right:10px}"
    "#main{padding:10px 16px}table{border-collapse:collapse;margin:6px 0}"
    "th,td{border:1px solid #b89b66;padding:2px 6px;font-size:13px}th{background:#e9dcbc}"
    ".fs12 "
    "td{font-size:12px}.status{overflow:hidden}.sideBox{float:left;width:260px;margin-right:16px;background:#"
    "fffaf0;"
    "border:1px solid #b89b66;padding:6px}.para{margin:0}.pager{margin:8px 0}"
    "#footer{clear:both;color:#776;font-size:11px;padding:12px 16px}";

std::string document(const std::string &title, const std::string &body)
{
    return "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\"><title>" + escape(title) +
           "</title><style>" + kStyle + "</style></head>\n<body>\n" + body + "</body></html>\n";
}

} // namespace

std::string escape(const std::string &text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string number(long long value)
{
    return std::to_string(value);
}

std::string worldPage(const std::string &title, int ownAllianceId, const std::string &main)
{
    const std::string header =
        "<div id=\"header\"><span class=\"logo\">戦国OVEK 第3陣</span>\n"
        "<div class=\"menu\"><a href=\"/logout.php\">ログアウト</a> <a href=\"/help.php\">ヘルプ</a> "
        "<a href=\"/help.php?p=rule\">発言の注意</a></div></div>\n"
        "<div id=\"nav\"><a href=\"/user/\">プロフィール</a> <a href=\"/alliance/info.php?id=" +
        number(ownAllianceId) +
        "\">同盟情報</a> <a href=\"/war/war_ranking.php?p=1\">合戦格付</a> "
        "<a href=\"/message/inbox.php?p=1\">受信箱</a> <a href=\"/message/new.php\">書状作成</a></div>\n";
    // Like the game's own pages, every world page carries a session token in
    // a hidden field (and here a password field with a value), which a page
    // the tool keeps for a report must not hold.
    return document(title + " - 戦国OVEK 第3陣",
                    header + "<div id=\"main\">\n" + main +
                        "</div>\n<form id=\"keepalive\" method=\"post\" action=\"/user/\">"
                        "<input type=\"hidden\" name=\"token\" value=\"demo-session-token\">"
                        "<input type=\"password\" name=\"pin\" value=\"demo-pin\" hidden></form>\n"
                        "<div id=\"footer\">戦国OVEK デモサイト</div>\n");
}

std::string topPage(const std::string &title, const std::string &main)
{
    return document(title + " - 戦国OVEK",
                    "<div id=\"header\"><span class=\"logo\">戦国OVEK</span></div>\n<div id=\"main\">\n" +
                        main + "</div>\n");
}

std::string plainPage(const std::string &title, const std::string &main)
{
    return document(title, "<div id=\"main\">\n" + main + "</div>\n");
}

} // namespace html
