#include "site/gamepage.h"

#include "common/textsearch.h"
#include "site/document.h"

#include <QRegularExpression>
#include <QUrl>

namespace GamePage {

qsizetype menuLinePosition(const QString &bodyText)
{
    const qsizetype spaced = TextSearch::findExact(bodyText, QStringLiteral("ログアウト ヘルプ 発言の注意"));
    return spaced != 0 ? spaced
                       : TextSearch::findExact(bodyText, QStringLiteral("ログアウトヘルプ発言の注意"));
}

} // namespace GamePage

namespace LetterPage {

QString missingField(const Document &page)
{
    for (const QString &id : {QStringLiteral("SUBJECT"), QStringLiteral("TO"), QStringLiteral("BODY")}) {
        // The program's own serialization: upper-case tags, the id bare.
        const QRegularExpression field(
            QStringLiteral("<(INPUT|TEXTAREA)\\b[^>]*\\sid=\"?%1\"?[\\s>]").arg(id));
        if (!field.match(page.markup()).hasMatch())
            return QStringLiteral("入力欄「%1」").arg(id);
    }
    return QString();
}

bool isLetterAddress(const QString &location, const QString &letterPage)
{
    const auto bare = [](const QString &address) {
        return QUrl(address).adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::StripTrailingSlash);
    };
    return !location.isEmpty() && bare(location) == bare(letterPage);
}

} // namespace LetterPage
