#pragma once

#include <QString>

// What every page of the game world shows around its content. A page that
// has it is a game page, however empty its content (a ranking page past the
// last ranked lord, an inbox without letters); a page without it is
// something else (an error or maintenance page, a half-made load), worth
// loading again.
namespace GamePage {

// Position (1-based) of the menu line 「ログアウト ヘルプ 発言の注意」 in a page's
// body text, with or without the blanks between its links; 0 when there is
// none.
qsizetype menuLinePosition(const QString &bodyText);

// The menu line as the user is told it is missing.
inline const QString kMenuLineMark = QStringLiteral("メニュー「ログアウト ヘルプ 発言の注意」");

inline bool hasMenuLine(const QString &bodyText)
{
    return menuLinePosition(bodyText) != 0;
}

} // namespace GamePage

class Document;

// The game's new-letter page, as the composer fills it.
namespace LetterPage {

// The first of the input fields SUBJECT, TO and BODY the page lacks, as the
// user is told it (「入力欄「TO」」); empty when all three are there.
QString missingField(const Document &page);

// Whether the browser's address is the new-letter page (letterPage), with
// whatever query the game adds to it.
bool isLetterAddress(const QString &location, const QString &letterPage);

} // namespace LetterPage
