#include "site/profilereaders.h"

#include "common/textsearch.h"
#include "site/document.h"
#include "site/extractbetween.h"

using namespace TextSearch;

std::optional<QString> homeCastleCoordinates(const Document &profilePage)
{
    // Elements come root first and every element's markup is a part of the
    // root's, so the first element holding "(本拠地)" is the root whenever
    // any element holds it. Looking at the root alone keeps a page without
    // the marker at one pass instead of one pass per element.
    const QString markup = trimSpaces(profilePage.rootInnerHtml().toString());
    const qsizetype label = findExact(markup, QStringLiteral("(本拠地)"));
    if (label == 0)
        return std::nullopt;
    const qsizetype castleParam = findExact(markup, QStringLiteral("&amp;c="), label);
    const qsizetype tagEnd = continueFindExact(markup, QStringLiteral(">"), castleParam);
    const qsizetype textEnd = continueFindExact(markup, QStringLiteral("<"), tagEnd);
    return span(markup, tagEnd + 1, textEnd - 1);
}

namespace {

// The last step of the profile's reading rule: the home castle's
// coordinates from the rest of the profile's markup, h.
void readHomeCastle(QString &h, LordProfile &lord)
{
    const QString none;
    // The start marker "</TD>" is the end of the row label itself: the home
    // row is everything after "<TD>本領</TD>" up to the row's end.
    QString homeRow = ExtractBetween(h, QStringLiteral("<TD>本領</TD>"), none, QStringLiteral("</TD>"),
                                     QStringLiteral("</TD></TR>"), true);
    QString link = removeAll(ExtractBetween(homeRow, QStringLiteral("本拠地"), QStringLiteral("sizset"),
                                            QStringLiteral("<A href=\""), QStringLiteral(">"), false),
                             QStringLiteral("\""));
    if (link.isEmpty()) {
        const qsizetype anchor = findExact(homeRow, QStringLiteral("A href"), 20);
        // Without any link in the home row the coordinates are unknown: x and
        // y come back empty rather than as the text of some other link.
        if (anchor > 0)
            link = homeRow.mid(anchor - 1);
    }
    lord.x = removeAll(
        ExtractBetween(link, QStringLiteral("?"), none, QStringLiteral("x="), QStringLiteral("&"), false),
        QStringLiteral(" "));
    lord.y = removeAll(
        ExtractBetween(link, QStringLiteral("amp;"), none, QStringLiteral("y="), QStringLiteral("&"), false),
        QStringLiteral(" "));
}

} // namespace

LordProfile ReadLordProfile(const Document &profilePage)
{
    LordProfile lord;
    const QString lordMarker = QStringLiteral("alt=城主名");
    // Every element's markup is a part of the root's: a page whose root does
    // not hold the marker has no element that does, and costs one pass.
    if (!profilePage.rootInnerHtml().contains(lordMarker))
        return lord;
    QString h;
    bool found = false;
    for (qsizetype i = 1; i < profilePage.elementCount() && !found; ++i) {
        const QStringView inner = profilePage.innerHtml(i);
        if (inner.contains(lordMarker)) {
            h = inner.toString() + QStringLiteral("\r\n");
            found = true;
        }
    }
    if (!found)
        return lord;

    // The steps cut h from the front, so their order is the reading rule:
    // each field is looked for after the one before it.
    const QString none;
    const QString lordName =
        ExtractBetween(h, lordMarker, none, QStringLiteral("<STRONG>"), QStringLiteral("</STRONG>"), true);
    if (lordName.isEmpty())
        ExtractBetween(h, lordMarker, QStringLiteral("<A href="), QStringLiteral(">"), QStringLiteral("</A>"),
                       true);
    ExtractBetween(h, QStringLiteral("alt=城主レベル"), none, QStringLiteral("para>Lv."),
                   QStringLiteral("<SPAN"), true);
    lord.population = ExtractBetween(h, QStringLiteral("人口数"), none, QStringLiteral("para>"),
                                     QStringLiteral("<SPAN"), true);
    lord.merit = ExtractBetween(h, QStringLiteral("総戦功"), none, QStringLiteral("<BR>"),
                                QStringLiteral("pt</P>"), true);
    lord.allianceName = ExtractBetween(h, QStringLiteral("所属同盟"), QStringLiteral("<A href="),
                                       QStringLiteral(">"), QStringLiteral("</A>"), true);
    lord.role = removeAll(ExtractBetween(h, QStringLiteral("alt=役職"), none,
                                         QStringLiteral("<P class=para>"), QStringLiteral("</P>"), true),
                          QStringLiteral(" "));
    lord.allianceSize = ExtractBetween(h, QStringLiteral("同盟規模"), none, QStringLiteral("para>"),
                                       QStringLiteral("人<SPAN"), true);
    const QString rank = ExtractBetween(h, QStringLiteral("class="), none, QStringLiteral(">"),
                                        QStringLiteral("位</SPAN"), true);
    lord.allianceSize += QStringLiteral("(") + rank + QStringLiteral("位)");

    readHomeCastle(h, lord);
    return lord;
}
