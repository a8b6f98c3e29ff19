#include "demosite/pages.h"

#include <utility>

namespace pages {

namespace {

void replaceAll(std::string &text, const std::string &from, const std::string &to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

} // namespace

std::string withChangedMarkup(const std::string &path, std::string html)
{
    // One mark a family, the one its page is known by.
    static const std::pair<const char *, std::pair<const char *, const char *>> changes[] = {
        {"/user/", {"(本拠地)", "（本城）"}},
        {"/alliance/info.php", {"class=\"fs12\"", "class=\"member-row\""}},
        {"/war/war_ranking.php", {"alt=\"攻撃国\"", "alt=\"国\""}},
        {"/message/inbox.php", {"<th>送信者</th>", "<th>差出人</th>"}},
        {"/message/new.php", {"id=\"TO\"", "id=\"ADDRESSEE\""}},
    };
    for (const auto &[changedPath, change] : changes) {
        if (path == changedPath)
            replaceAll(html, change.first, change.second);
    }
    return html;
}

} // namespace pages
