#include "site/bodytext.h"

#include "site/gumbotree.h"

#include <QLatin1StringView>

namespace BodyText {
namespace {

bool isBlock(GumboTag tag)
{
    switch (tag) {
    case GUMBO_TAG_ADDRESS:
    case GUMBO_TAG_ARTICLE:
    case GUMBO_TAG_ASIDE:
    case GUMBO_TAG_BLOCKQUOTE:
    case GUMBO_TAG_CAPTION:
    case GUMBO_TAG_CENTER:
    case GUMBO_TAG_DD:
    case GUMBO_TAG_DIV:
    case GUMBO_TAG_DL:
    case GUMBO_TAG_DT:
    case GUMBO_TAG_FIELDSET:
    case GUMBO_TAG_FIGURE:
    case GUMBO_TAG_FOOTER:
    case GUMBO_TAG_FORM:
    case GUMBO_TAG_H1:
    case GUMBO_TAG_H2:
    case GUMBO_TAG_H3:
    case GUMBO_TAG_H4:
    case GUMBO_TAG_H5:
    case GUMBO_TAG_H6:
    case GUMBO_TAG_HEADER:
    case GUMBO_TAG_HR:
    case GUMBO_TAG_LI:
    case GUMBO_TAG_MAIN:
    case GUMBO_TAG_NAV:
    case GUMBO_TAG_OL:
    case GUMBO_TAG_P:
    case GUMBO_TAG_PRE:
    case GUMBO_TAG_SECTION:
    case GUMBO_TAG_TABLE:
    case GUMBO_TAG_THEAD:
    case GUMBO_TAG_TBODY:
    case GUMBO_TAG_TFOOT:
    case GUMBO_TAG_TR:
    case GUMBO_TAG_UL:
        return true;
    default:
        return false;
    }
}

bool isHidden(GumboTag tag)
{
    return tag == GUMBO_TAG_SCRIPT || tag == GUMBO_TAG_STYLE || tag == GUMBO_TAG_NOSCRIPT ||
           tag == GUMBO_TAG_TEMPLATE;
}

bool isCollapsible(char32_t code)
{
    return code == ' ' || code == '\t' || code == '\r' || code == '\n' || code == '\f';
}

// Collects text while deciding blanks and line breaks lazily: a blank or a
// break is only written once the next visible character shows whether it
// stands inside a line (kept) or at a line's edge (dropped).
class LineBuilder
{
public:
    void character(char32_t code)
    {
        if (isCollapsible(code)) {
            m_blankPending = true;
            return;
        }
        if (code == 0xA0) {
            // A blank of its own, never merged; but like every blank it is
            // dropped at the start of a line.
            if (m_breakPending || atLineStart())
                return;
            flushPending();
            m_text.append(QLatin1Char(' '));
            return;
        }
        flushPending();
        GumboTree::appendCodePoint(m_text, code);
    }

    void lineBreak()
    {
        m_breakPending = true;
        m_blankPending = false;
    }

    QString finish()
    {
        dropTrailingBlanks();
        return std::move(m_text);
    }

private:
    void flushPending()
    {
        if (m_breakPending) {
            dropTrailingBlanks();
            if (!m_text.isEmpty())
                m_text.append(QLatin1StringView("\r\n"));
        } else if (m_blankPending && !atLineStart()) {
            m_text.append(QLatin1Char(' '));
        }
        m_breakPending = false;
        m_blankPending = false;
    }

    bool atLineStart() const { return m_text.isEmpty() || m_text.back() == QLatin1Char('\n'); }

    void dropTrailingBlanks()
    {
        qsizetype end = m_text.size();
        while (end > 0 && m_text.at(end - 1) == QLatin1Char(' '))
            --end;
        m_text.truncate(end);
    }

    QString m_text;
    bool m_blankPending = false;
    bool m_breakPending = false;
};

const GumboNode *findBody(const GumboNode *root)
{
    const GumboVector &children = GumboTree::children(root);
    for (unsigned i = 0; i < children.length; ++i) {
        const auto *child = static_cast<const GumboNode *>(children.data[i]);
        if (GumboTree::isHtmlElement(child, GUMBO_TAG_BODY))
            return child;
    }
    return nullptr;
}

} // namespace

QString render(const GumboNode *root)
{
    const GumboNode *body = findBody(root);
    if (!body)
        return QString();
    LineBuilder lines;
    GumboTree::walk(
        body,
        [&lines](const GumboNode *node) {
            switch (node->type) {
            case GUMBO_NODE_TEXT:
            case GUMBO_NODE_WHITESPACE:
            case GUMBO_NODE_CDATA:
                GumboTree::forEachCodePoint(node->v.text.text,
                                            [&lines](char32_t code) { lines.character(code); });
                return false;
            case GUMBO_NODE_ELEMENT:
            case GUMBO_NODE_TEMPLATE: {
                const GumboTag tag = node->v.element.tag;
                if (node->type == GUMBO_NODE_TEMPLATE || isHidden(tag))
                    return false;
                if (tag == GUMBO_TAG_BR || isBlock(tag))
                    lines.lineBreak();
                return true;
            }
            default:
                return false;
            }
        },
        [&lines](const GumboNode *node) {
            if (isBlock(node->v.element.tag))
                lines.lineBreak();
        });
    return lines.finish();
}

} // namespace BodyText
