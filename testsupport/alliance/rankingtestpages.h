#pragma once

#include <QList>
#include <QString>

// War-ranking pages as small HTML for the tests: the menu line, the table
// headed by the country image, the rows, and the pager.
namespace RankingTestPages {

struct Row
{
    int rank;
    QString name;
    QString alliance;      // the id in the alliance link; empty: no alliance
    QList<QString> scores; // the markup of the four score cells (戦功 攻撃 防御 総合)
    QString allianceName = QStringLiteral("某同盟");
};

inline Row row(int rank, const QString &name, const QString &alliance, int score)
{
    return {rank,
            name,
            alliance,
            {QString::number(score), QString::number(score + 1), QString::number(score + 2),
             QString::number(score + 3)}};
}

struct Parts
{
    bool menu = true;
    bool spacedMenu = true;
    bool table = true;
    bool pager = true;
};

inline QString page(const QList<Row> &rows, Parts parts = {})
{
    QString html = QStringLiteral("<html><head><title>合戦格付</title></head><body>\n");
    if (parts.menu) {
        html +=
            parts.spacedMenu
                ? QStringLiteral("<div class=\"menu\"><a href=\"/logout.php\">ログアウト</a> "
                                 "<a href=\"/help.php\">ヘルプ</a> <a href=\"/rule\">発言の注意</a></div>\n")
                : QStringLiteral("<div class=\"menu\"><a href=\"/logout.php\">ログアウト</a><a "
                                 "href=\"/help.php\">ヘルプ</a><a href=\"/rule\">発言の注意</a></div>\n");
    }
    // The own alliance's page is linked above the table, as in the game's menu.
    html += QStringLiteral("<div id=\"nav\"><a href=\"/alliance/info.php?id=7\">同盟情報</a></div>\n");
    html += QStringLiteral("<table>\n<tr><th>順位</th><th>城主名</th><th>");
    if (parts.table)
        html += QStringLiteral("<img src=\"/img/c.png\" alt=\"攻撃国\">");
    html += QStringLiteral("</th><th>戦功</th><th>攻撃</th><th>防御</th><th>総合</th></tr>\n");
    for (const Row &r : rows) {
        html += QStringLiteral("<tr><td>%1</td><td><a href=\"/user/?user_id=%2\">%3</a></td>\n<td>")
                    .arg(r.rank)
                    .arg(1000 + r.rank)
                    .arg(r.name);
        html += r.alliance.isEmpty() ? QStringLiteral("－")
                                     : QStringLiteral("<a href=\"/alliance/info.php?id=%1\">%2</a>")
                                           .arg(r.alliance, r.allianceName);
        html += QStringLiteral("</td>\n");
        for (const QString &score : r.scores)
            html += QStringLiteral("<td>") + score + QStringLiteral("</td>\n");
        html += QStringLiteral("</tr>\n");
    }
    html += QStringLiteral("</table>\n");
    if (parts.pager)
        html += QStringLiteral("<div class=\"pager\">ページ送り <a href=\"?p=2\">次へ</a></div>\n");
    return html + QStringLiteral("</body></html>\n");
}

} // namespace RankingTestPages
