#include "site/gamepage.h"

#include "common/textsearch.h"

namespace GamePage {

qsizetype menuLinePosition(const QString &bodyText)
{
    const qsizetype spaced = TextSearch::findExact(bodyText, QStringLiteral("ログアウト ヘルプ 発言の注意"));
    return spaced != 0 ? spaced
                       : TextSearch::findExact(bodyText, QStringLiteral("ログアウトヘルプ発言の注意"));
}

} // namespace GamePage
