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

QString profilePageWithoutHome()
{
    return QStringLiteral("<html><body>読込中</body></html>");
}

} // namespace PageFixtures
