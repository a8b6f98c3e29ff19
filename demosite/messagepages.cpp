#include "demosite/html.h"
#include "demosite/pages.h"

using html::escape;
using html::number;

namespace pages {

namespace {

std::string inboxAddress(int page)
{
    return "/message/inbox.php?p=" + number(page);
}

// Page 1: "1 2 3 ＞  >>"; later pages start with "<<  ＜". The no-break
// space before the blank keeps two blanks between "＞" and ">>" in the text.
std::string inboxPager(int page, int last)
{
    std::string out = "<div class=\"pager\">";
    if (page > 1) {
        out += "<a href=\"" + inboxAddress(1) + "\">&lt;&lt;</a>&nbsp; <a href=\"" + inboxAddress(page - 1) +
               "\">＜</a> ";
    }
    for (int p = 1; p <= last; ++p) {
        out += p == page ? "<strong>" + number(p) + "</strong>"
                         : "<a href=\"" + inboxAddress(p) + "\">" + number(p) + "</a>";
        out += p < last ? " " : "";
    }
    if (page < last) {
        out += " <a href=\"" + inboxAddress(page + 1) + "\">＞</a>&nbsp; <a href=\"" + inboxAddress(last) +
               "\">&gt;&gt;</a>";
    }
    return out + "</div>\n";
}

std::string senderCell(const Letter &letter)
{
    if (letter.senderUserId == 0)
        return escape(letter.sender);
    return "<a href=\"/user/?user_id=" + number(letter.senderUserId) + "\">" + escape(letter.sender) + "</a>";
}

} // namespace

std::string inboxPage(const World &world, int page, bool withTable)
{
    const int last = world.inboxPageCount();
    std::string main = "<h2>受信箱</h2>\n";
    if (!withTable) {
        // Not the inbox at all: the server's maintenance notice, outside the
        // world's frame.
        return html::plainPage("メンテナンス中",
                               "<p>ただいまメンテナンス中です。しばらくしてから再度お試しください。</p>\n");
    }
    if (world.inbox.empty()) {
        // An empty inbox shows no letter table at all.
        main += "<p>受信した書状はありません。</p>\n";
        return html::worldPage("受信箱", world.playerAllianceId, main);
    }
    // Header cells without blanks between them; letter cells separated by
    // line breaks, so a row's text reads "件名 送信者 日付 時刻". Nothing but
    // the pager follows the table.
    main +=
        "<table "
        "class=\"inbox\">\n<tr><th>選択</th><th>件名</th><th>送信者</th><th>日付</th><th>ロック</th></tr>\n";
    const int first = (page - 1) * World::kInboxPerPage;
    for (int i = first;
         i >= 0 && i < first + World::kInboxPerPage && i < static_cast<int>(world.inbox.size()); ++i) {
        const Letter &letter = world.inbox[static_cast<std::size_t>(i)];
        main += "<tr><td><input type=\"checkbox\" name=\"letter\" value=\"" + number(letter.id) +
                "\"></td>\n<td><a href=\"/message/detail.php?id=" + number(letter.id) + "\">" +
                escape(letter.subject) + "</a></td>\n<td>" + senderCell(letter) + "</td>\n<td>" +
                escape(letter.date) + "</td>\n<td></td></tr>\n";
    }
    main += "</table>\n" + inboxPager(page, last);
    return html::worldPage("受信箱", world.playerAllianceId, main);
}

std::string letterPage(const World &world, int letterId)
{
    for (const Letter &letter : world.inbox) {
        if (letter.id != letterId)
            continue;
        const std::string main = "<h2>" + escape(letter.subject) + "</h2>\n<p>送信者 " + senderCell(letter) +
                                 "　" + escape(letter.date) +
                                 "</p>\n<p>（本文）よろしくお願いいたします。</p>\n<p><a "
                                 "href=\"/message/inbox.php?p=1\">受信箱へ戻る</a></p>\n";
        return html::worldPage("書状", world.playerAllianceId, main);
    }
    return html::worldPage("書状", world.playerAllianceId,
                           "<h2>書状</h2>\n<p>指定された書状は存在しません。</p>\n");
}

std::string newLetterPage(const World &world, const LetterForm &form, const std::string &error)
{
    std::string main = "<h2>書状作成</h2>\n";
    if (!error.empty())
        main += "<p class=\"error\">" + escape(error) + "</p>\n";
    main += "<form method=\"post\" action=\"/message/new.php\">\n<table class=\"letterForm\">\n"
            "<tr><th>件名</th><td><input type=\"text\" id=\"SUBJECT\" name=\"subject\" size=\"60\" value=\"" +
            escape(form.subject) +
            "\"></td></tr>\n<tr><th>宛先</th><td><input type=\"text\" id=\"TO\" name=\"to\" size=\"60\" "
            "value=\"" +
            escape(form.to) +
            "\"> （複数の場合は「,」区切り、３名まで）</td></tr>\n<tr><th>本文</th><td><textarea id=\"BODY\" "
            "name=\"body\" "
            "rows=\"12\" cols=\"70\">" +
            escape(form.body) +
            "</textarea></td></tr>\n</table>\n<p><button type=\"submit\" "
            "id=\"send\">送信</button></p>\n</form>\n";
    // For tests through the browser: each field mirrors its current value,
    // percent-encoded, into data-value (the page snapshot shows attributes,
    // not typed values), and a value written into the hidden SEND field
    // sends the form as the send button does.
    main += "<input type=\"hidden\" id=\"SEND\">\n<script>\n"
            "(function () {\n"
            "  ['SUBJECT', 'TO', 'BODY'].forEach(function (id) {\n"
            "    var field = document.getElementById(id);\n"
            "    var mirror = function () { field.setAttribute('data-value', "
            "encodeURIComponent(field.value)); };\n"
            "    mirror();\n"
            "    field.addEventListener('input', mirror);\n"
            "  });\n"
            "  document.getElementById('SEND').addEventListener('change', function () {\n"
            "    document.querySelector('form[action=\"/message/new.php\"]').submit();\n"
            "  });\n"
            "})();\n</script>\n";
    return html::worldPage("書状作成", world.playerAllianceId, main);
}

std::string letterSentPage(const World &world, const SentLetter &letter)
{
    const std::string main =
        "<h2>書状作成</h2>\n<p class=\"done\">書状を送信しました。</p>\n<table>\n<tr><th>件名</th><td>" +
        escape(letter.subject) + "</td></tr>\n<tr><th>宛先</th><td>" + escape(letter.to) +
        "</td></tr>\n</table>\n<p><a href=\"/message/new.php\">続けて書状を作成する</a></p>\n";
    return html::worldPage("書状作成", world.playerAllianceId, main);
}

} // namespace pages
