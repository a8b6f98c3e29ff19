#include "site/profilereaders.h"

#include "common/textsearch.h"
#include "site/document.h"

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
