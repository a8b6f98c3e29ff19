#include "testsupport/alliance/pagefixtures.h"

namespace PageFixtures {

QString alliancePage(const std::vector<Member> &members)
{
    QString rows;
    for (const Member &m : members) {
        rows += QStringLiteral("<tr class=\"fs12\"><td><a href=\"/user/?user_id=%1\">%2</a></td>"
                               "<td>1</td><td>100</td><td>5</td><td>3</td><td>一般</td></tr>\n")
                    .arg(m.id)
                    .arg(m.name);
    }
    return QStringLiteral("<html><body><table class=\"commonTables\"><tbody><tr><th>名前</th></tr>\n%1"
                          "</tbody></table></body></html>")
        .arg(rows);
}

QString profilePage(const QString &coordinates)
{
    return QStringLiteral(
               "<html><body><table><tr><th>本拠地</th><td>(本拠地)</td>"
               "<td><a href=\"/land.php?x=1&amp;y=2&amp;c=1\">%1</a></td></tr></table></body></html>")
        .arg(coordinates);
}

QString lordProfilePage(const QString &name, const QString &population, const QString &merit,
                        const QString &role, int x, int y)
{
    QString shownRole = role;
    shownRole.replace(QStringLiteral("（"), QStringLiteral(" （"));
    return QStringLiteral("<html><body><table>"
                          "<tr><th><img alt=\"城主名\"></th><td><strong>%1</strong></td></tr>"
                          "<tr><th><img alt=\"城主レベル\"></th><td><p "
                          "class=\"para\">Lv.3<span>x</span></p></td></tr>"
                          "<tr><th>人口数</th><td><p class=\"para\">%2<span>人</span></p></td></tr>"
                          "<tr><th>戦功</th><td><p class=\"para\">総戦功<br>%3 pt</p></td></tr>"
                          "<tr><th>所属同盟</th><td><a href=\"/alliance/info.php?id=2581\">美濃</a></td></tr>"
                          "<tr><th><img alt=\"役職\"></th><td><p class=\"para\">%4</p></td></tr>"
                          "<tr><th>同盟規模</th><td><p class=\"para\">3人<span "
                          "class=\"rank\">5位</span></p></td></tr>"
                          "</table><table><tr><td>本領</td><td>城(本拠地)</td>"
                          "<td><a href=\"/land.php?x=%5&y=%6&c=1\">%5,%6</a></td></tr></table></body></html>")
        .arg(name, population, merit, shownRole)
        .arg(x)
        .arg(y);
}

QString profilePageWithoutHome()
{
    return QStringLiteral("<html><body>読込中</body></html>");
}

QString inboxHtml(int page, int last, const QList<Letter> &letters, const QString &lastLink)
{
    QString html = QStringLiteral("<html><body><div><a>ログアウト</a> <a>ヘルプ</a> <a>発言の注意</a></div>"
                                  "<h2>受信箱</h2><table><tr><th>選択</th><th>件名</th>"
                                  "<th>送信者</th><th>日付</th><th>ロック</th></tr>\n");
    for (const Letter &letter : letters) {
        html +=
            QStringLiteral("<tr><td><input type=checkbox></td>\n<td><a href=\"/d\">%1</a></td>\n<td>%2</td>\n"
                           "<td>2024/04/01 21:30</td>\n<td></td></tr>\n")
                .arg(letter.subject, letter.sender);
    }
    html += QStringLiteral("</table><div>");
    if (page > 1)
        html += QStringLiteral("<a>&lt;&lt;</a>&nbsp; <a>＜</a> ");
    for (int p = 1; p <= last; ++p)
        html += QString::number(p) + u' ';
    if (page < last)
        html += (lastLink.isEmpty() ? QString() : lastLink + u' ') +
                QStringLiteral("<a>＞</a>&nbsp; <a>&gt;&gt;</a>");
    return html + QStringLiteral("</div></body></html>");
}

} // namespace PageFixtures
