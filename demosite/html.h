#pragma once

#include <string>

// Small helpers to write the pages. Pages are ordinary modern HTML in UTF-8.
namespace html {

// Escapes & < > " for text and double-quoted attribute values.
std::string escape(const std::string &text);
std::string number(long long value);

// A page of the world server: header menu, navigation, main part, footer.
// The header menu's items are inline and separated by single blanks, so the
// rendered text holds "ログアウト ヘルプ 発言の注意" on a line of its own.
std::string worldPage(const std::string &title, int ownAllianceId, const std::string &main);

// A page of the public top site.
std::string topPage(const std::string &title, const std::string &main);

// A plain page outside the world's frame (session-out, not found).
std::string plainPage(const std::string &title, const std::string &main);

} // namespace html
