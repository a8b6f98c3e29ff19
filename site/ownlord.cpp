#include "site/ownlord.h"

#include "common/readfailure.h"
#include "common/textsearch.h"
#include "site/document.h"

using namespace TextSearch;

namespace {

const QString &villageChangeMarker()
{
    static const QString marker = QStringLiteral("/village_change.php?village_id=");
    return marker;
}

// The side box sits inside the root element, and every other element's
// markup is a part of the root's, so only the root needs looking at: when
// it lacks the side box, no element has it.
QString sideBoxPage(const Document &page)
{
    if (page.elementCount() > 0) {
        QString root = page.outerHtml(0).toString();
        if (containsAsText(root, QStringLiteral("sideBoxInner basename")))
            return root;
    }
    throw ReadFailure(QStringLiteral("ユーザーページにサイドボックスがありません。"));
}

QString readAllianceId(const QString &page)
{
    const qsizetype linkEnd = findAsText(page, QStringLiteral("\">同盟</A>"));
    if (linkEnd == 0)
        throw ReadFailure(QStringLiteral("同盟へのリンクがありません。"));
    const qsizetype lastEquals = findLastAsText(page, QStringLiteral("="), linkEnd - 1);
    return span(page, lastEquals + 1, linkEnd - 1);
}

QString readLordName(const QString &page)
{
    const qsizetype marker = findAsText(page, QStringLiteral("id=lordName>"));
    const qsizetype markerEnd = continueFindAsText(page, QStringLiteral(">"), marker);
    const qsizetype itemEnd = continueFindAsText(page, QStringLiteral("</LI>"), markerEnd);
    return trimSpaces(span(page, markerEnd + 1, itemEnd - 1));
}

// Reads one village row starting at the row's label; returns the position of
// the "=" of its map link, where the search for the next row begins.
qsizetype readVillage(const QString &page, qsizetype rowLabel, const QString &worldBaseUrl, OwnLord &lord,
                      int slot, bool mapLinkFromLinkEnd)
{
    const qsizetype link = continueFindAsText(page, villageChangeMarker(), rowLabel);
    const qsizetype linkEnd = continueFindAsText(page, QStringLiteral("\">"), link);
    const QString villageLink = span(page, link, linkEnd - 1);
    lord.villageLink[slot] = villageLink;
    lord.villageId[slot] = villageLink.mid(findLastExact(villageLink, QStringLiteral("=")));

    const qsizetype nameEnd = continueFindAsText(page, QStringLiteral("</A>"), linkEnd);
    lord.villageName[slot] = removeAll(span(page, linkEnd + 2, nameEnd - 1), QStringLiteral(" "));

    // The home row looks for the map link after the village link's end, the
    // fief rows after its start; both find the same link on the game's pages.
    const qsizetype anchor =
        continueFindAsText(page, QStringLiteral("<a href"), mapLinkFromLinkEnd ? linkEnd : link);
    const qsizetype equals = continueFindAsText(page, QStringLiteral("="), anchor + 1);
    const qsizetype tagEnd = continueFindAsText(page, QStringLiteral(">"), equals + 1);
    QString mapPath = span(page, equals + 1, tagEnd - 1);
    mapPath = removeAll(removeAll(mapPath, QStringLiteral("\"")), QStringLiteral("amp;"));
    // The land page becomes the map page. Only the path is rewritten: the
    // configured server address is taken as it is, so a host whose name holds
    // "land" still points at the right server.
    mapPath.replace(QStringLiteral("land"), QStringLiteral("map"));
    lord.villageMapUrl[slot] = worldBaseUrl + mapPath;
    return equals;
}

} // namespace

OwnLord ReadOwnLord(const Document &userPage, const QString &worldBaseUrl, const OwnLord &previous)
{
    const QString page = sideBoxPage(userPage);
    OwnLord lord = previous;
    lord.allianceId = readAllianceId(page);
    lord.lordName = readLordName(page);

    const qsizetype homeRow = findAsText(page, QStringLiteral("<TD>本領</TD>"));
    qsizetype searchFrom = readVillage(page, homeRow, worldBaseUrl, lord, 0, true);
    for (int slot = 1;; ++slot) {
        const qsizetype fiefRow = continueFindAsText(page, QStringLiteral("<TD>所領</TD>"), searchFrom);
        if (fiefRow == 0)
            return lord;
        if (slot >= OwnLord::villageSlots)
            throw ReadFailure(QStringLiteral("所領が%1を超えています。").arg(OwnLord::villageSlots - 1));
        searchFrom = readVillage(page, fiefRow, worldBaseUrl, lord, slot, false);
    }
}
