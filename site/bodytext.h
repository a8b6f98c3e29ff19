#pragma once

#include <QString>
#include <gumbo.h>

// The text of a page as the readers expect to see it rendered: whitespace
// collapsed, block elements and BR on lines of their own, table cells
// inline, lines joined by CR LF. Taken from the parse tree, not from any
// stylesheet, so the same page always reads the same.
namespace BodyText {

// root: the page's root element; the text is that of its BODY (empty when
// the page has none).
QString render(const GumboNode *root);

} // namespace BodyText
