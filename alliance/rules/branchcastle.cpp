#include "alliance/rules/branchcastle.h"

#include "common/numbers.h"
#include "common/textsearch.h"
#include "site/document.h"

#include <limits>
#include <optional>

using namespace TextSearch;

namespace BranchCastles {

namespace {

const QString kFiefSectionEnd = QStringLiteral("<!-- /領地情報 -->");
const QString kCastleCell = QStringLiteral("<TD>出城</TD>");
const QString kVillageLink = QStringLiteral("village_change.php?village_id");
const QString kLandLink = QStringLiteral("land.php?x");
const QString kCrLf = QStringLiteral("\r\n");

const QString kFortPositions = QStringLiteral(
    "12,28/28,12/12,52/36,36/52,12/12,76/36,60/60,36/76,12/12,100/36,84/60,60/84,36/100,12/12,124/36,108/"
    "60,84/84,60/108,36/124,12/12,148/36,132/60,108/84,84/108,60/132,36/148,12/36,156/60,132/84,108/108,84/"
    "132,60/156,36/60,156/84,132/108,108/132,84/156,60/84,156/108,132/132,108/156,84/108,156/132,132/156,108/"
    "132,156/156,132/156,156");

// The quarters in list order, with the mirror of the fort table each tests.
struct Quarter
{
    QString title;
    int xSign;
    int ySign;
};
const Quarter kQuarters[] = {{QStringLiteral("★北東砦"), 1, 1},
                             {QStringLiteral("★南東砦"), 1, -1},
                             {QStringLiteral("★北西砦"), -1, 1},
                             {QStringLiteral("★南西砦"), -1, -1}};

// The last occurrence that lies wholly within the text up to position upTo.
qsizetype findLastWithin(const QString &text, const QString &needle, qsizetype upTo)
{
    const qsizetype lastStart = upTo - needle.size() + 1;
    return lastStart < 1 ? 0 : findLastAsText(text, needle, lastStart);
}

// The text of the link whose address starts at from: between the first ">"
// and the first "<" after it, blanks removed. Empty optional when either is
// missing or they come in the wrong order.
std::optional<QString> linkText(const QString &markup, qsizetype from, qsizetype *closeAt)
{
    const qsizetype open = findExact(markup, QStringLiteral(">"), from);
    const qsizetype close = findExact(markup, QStringLiteral("<"), from);
    if (open == 0 || close == 0 || close < open)
        return std::nullopt;
    *closeAt = close;
    return removeAll(span(markup, open + 1, close - 1), QStringLiteral(" "));
}

// A coordinate part as a whole map unit, or none when it is beyond any map.
std::optional<int> coordinate(const QString &part)
{
    const double value = Numbers::roundHalfEven(Numbers::readLeading(part));
    if (!(value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max()))
        return std::nullopt;
    return static_cast<int>(value);
}

QString positionText(const Quarter &quarter, const QString &fortText)
{
    QString text = fortText;
    if (quarter.ySign < 0)
        text.replace(u',', QStringLiteral(",-"));
    return (quarter.xSign < 0 ? QStringLiteral(" (-") : QStringLiteral(" (")) + text +
           QStringLiteral(") 集団━━━");
}

} // namespace

ProfileCastle readBranchCastle(const Document &profilePage)
{
    using Kind = ProfileCastle::Kind;
    ProfileCastle castle;
    // The root element comes first and holds the whole page, so the first
    // element with the marker is always the root.
    const QString markup = trimSpaces(profilePage.rootInnerHtml().toString());
    const qsizetype end = findAsText(markup, kFiefSectionEnd);
    if (end == 0)
        return castle;
    const qsizetype cell = findLastWithin(markup, kCastleCell, end);
    if (cell == 0) {
        castle.kind = Kind::None;
        return castle;
    }
    castle.kind = Kind::Unreadable;
    // The own villages link to the village change; another lord's castle to
    // its land. A village link before the castle cell belongs to some other
    // village, never to this castle.
    qsizetype link = findLastWithin(markup, kVillageLink, end);
    if (link < cell)
        link = findAsText(markup, kLandLink, cell);
    if (link == 0)
        return castle;
    qsizetype close = 0;
    const std::optional<QString> name = linkText(markup, link, &close);
    if (!name)
        return castle;
    // The coordinates are the castle row's land link, inside the fief section.
    const qsizetype land = findAsText(markup, kLandLink, close);
    if (land == 0 || land > end)
        return castle;
    const std::optional<QString> coordinates = linkText(markup, land, &close);
    if (!coordinates || !coordinates->contains(u','))
        return castle;
    const QStringList parts = coordinates->split(u',');
    const std::optional<int> x = coordinate(parts.at(0));
    const std::optional<int> y = coordinate(parts.at(1));
    if (!x || !y)
        return castle;
    castle.kind = Kind::Castle;
    castle.name = *name;
    castle.coordinateText = *coordinates;
    castle.x = *x;
    castle.y = *y;
    return castle;
}

const QList<Fort> &fortTable()
{
    static const QList<Fort> table = [] {
        QList<Fort> forts;
        for (const QString &position : kFortPositions.split(u'/')) {
            const QStringList xy = position.split(u',');
            forts.append({static_cast<int>(forts.size()) + 1, position, xy.at(0).toInt(), xy.at(1).toInt()});
        }
        return forts;
    }();
    return table;
}

bool withinRange(int fortX, int fortY, int castleX, int castleY)
{
    const double dx = double(fortX) - double(castleX);
    const double dy = double(fortY) - double(castleY);
    return dx * dx + dy * dy < 100.0;
}

QString castleListText(const QList<BranchCastle> &castles, const QString &creationLine,
                       const QStringList &notes)
{
    // Built line by line rather than by inserting line breaks before every
    // "★": a castle or lord name holding "★" keeps its line whole.
    QStringList lines{QString(), creationLine};
    bool firstBlock = true;
    for (const Quarter &quarter : kQuarters) {
        for (const Fort &fort : fortTable()) {
            const int x = fort.x * quarter.xSign;
            const int y = fort.y * quarter.ySign;
            QStringList group;
            for (const BranchCastle &castle : castles) {
                if (withinRange(x, y, castle.x, castle.y))
                    group.append(castle.owner + u'>' + castle.name + QStringLiteral(">(") +
                                 castle.coordinateText + u')');
            }
            if (group.isEmpty())
                continue;
            if (!firstBlock)
                lines.append(QString());
            firstBlock = false;
            lines.append(quarter.title + QString::number(fort.number) + positionText(quarter, fort.text) +
                         QStringLiteral(" %1人").arg(group.size()));
            lines += group;
        }
    }
    lines += notes;
    return lines.join(kCrLf);
}

} // namespace BranchCastles
