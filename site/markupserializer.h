#pragma once

#include <QList>
#include <QString>
#include <gumbo.h>

// Writes a parsed page in the legacy markup the page readers match
// (upper-case tags, bare attribute values where possible) in one pass, and
// notes where each element's markup lies in that one text.
namespace MarkupSerializer {

struct ElementSpan
{
    qsizetype outerBegin = 0; // at "<"; the tag name follows it
    qsizetype nameLength = 0;
    qsizetype innerBegin = 0; // just after the start tag
    qsizetype innerEnd = 0;   // at the end tag, if there is one
    qsizetype outerEnd = 0;   // just after the end tag
};

struct Result
{
    QString markup;
    QList<ElementSpan> elements; // document order, root first
};

// sizeHint: the length of the page source, to size the text once.
Result serialize(const GumboNode *root, qsizetype sizeHint);

} // namespace MarkupSerializer
