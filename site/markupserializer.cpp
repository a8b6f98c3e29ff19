#include "site/markupserializer.h"

#include "site/gumbotree.h"

#include <QLatin1StringView>
#include <vector>

namespace MarkupSerializer {
namespace {

using GumboTree::forEachCodePoint;

bool isVoid(const GumboNode *element)
{
    if (element->v.element.tag_namespace != GUMBO_NAMESPACE_HTML)
        return false;
    switch (element->v.element.tag) {
    case GUMBO_TAG_AREA:
    case GUMBO_TAG_BASE:
    case GUMBO_TAG_BR:
    case GUMBO_TAG_COL:
    case GUMBO_TAG_EMBED:
    case GUMBO_TAG_HR:
    case GUMBO_TAG_IMG:
    case GUMBO_TAG_INPUT:
    case GUMBO_TAG_LINK:
    case GUMBO_TAG_META:
    case GUMBO_TAG_PARAM:
    case GUMBO_TAG_SOURCE:
    case GUMBO_TAG_TRACK:
    case GUMBO_TAG_WBR:
        return true;
    default:
        return false;
    }
}

// Elements whose content the parser took as raw text: written back as it
// came, or a script's "a < b" would turn into "a &lt; b".
bool holdsRawText(const GumboNode *element)
{
    if (!element || !GumboTree::isElement(element) ||
        element->v.element.tag_namespace != GUMBO_NAMESPACE_HTML)
        return false;
    switch (element->v.element.tag) {
    case GUMBO_TAG_SCRIPT:
    case GUMBO_TAG_STYLE:
    case GUMBO_TAG_XMP:
    case GUMBO_TAG_IFRAME:
    case GUMBO_TAG_NOEMBED:
    case GUMBO_TAG_NOFRAMES:
    case GUMBO_TAG_PLAINTEXT:
        return true;
    default:
        return false;
    }
}

bool canStandBare(const char *value)
{
    if (!*value)
        return false;
    bool bare = true;
    forEachCodePoint(value, [&bare](char32_t code) {
        if (bare && !(QChar::isLetterOrNumber(code) || code == '-' || code == '_' || code == '.'))
            bare = false;
    });
    return bare;
}

class Writer
{
public:
    explicit Writer(qsizetype sizeHint)
    {
        // Upper-case tags, end tags and escapes make the legacy form a little
        // longer than the browser's; one reservation covers nearly every page.
        m_result.markup.reserve(sizeHint + sizeHint / 8 + 64);
    }

    bool enter(const GumboNode *node)
    {
        switch (node->type) {
        case GUMBO_NODE_ELEMENT:
        case GUMBO_NODE_TEMPLATE:
            startElement(node);
            return true;
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_WHITESPACE:
            if (holdsRawText(node->parent))
                verbatim(node->v.text.text);
            else
                text(node->v.text.text);
            return false;
        case GUMBO_NODE_CDATA:
            ascii("<![CDATA[");
            verbatim(node->v.text.text);
            ascii("]]>");
            return false;
        case GUMBO_NODE_COMMENT:
            ascii("<!--");
            verbatim(node->v.text.text);
            ascii("-->");
            return false;
        case GUMBO_NODE_DOCUMENT:
            return false;
        }
        return false;
    }

    void leave(const GumboNode *node)
    {
        ElementSpan &span = m_result.elements[m_open.back()];
        m_open.pop_back();
        QString &out = m_result.markup;
        span.innerEnd = out.size();
        if (!isVoid(node)) {
            ascii("</");
            out.append(QStringView(out).mid(span.outerBegin + 1, span.nameLength));
            out.append(QLatin1Char('>'));
        }
        span.outerEnd = out.size();
    }

    Result take() { return std::move(m_result); }

private:
    void startElement(const GumboNode *node)
    {
        QString &out = m_result.markup;
        m_open.push_back(m_result.elements.size());
        ElementSpan &span = m_result.elements.emplace_back();
        span.outerBegin = out.size();
        out.append(QLatin1Char('<'));
        GumboTree::appendTagName(out, node);
        span.nameLength = out.size() - span.outerBegin - 1;
        const GumboVector &attributes = node->v.element.attributes;
        for (unsigned i = 0; i < attributes.length; ++i)
            attribute(*static_cast<const GumboAttribute *>(attributes.data[i]));
        out.append(QLatin1Char('>'));
        span.innerBegin = out.size();
    }

    void attribute(const GumboAttribute &attribute)
    {
        QString &out = m_result.markup;
        out.append(QLatin1Char(' '));
        // gumbo strips the prefix of xlink:href and its kind; put it back.
        switch (attribute.attr_namespace) {
        case GUMBO_ATTR_NAMESPACE_XLINK:
            ascii("xlink:");
            break;
        case GUMBO_ATTR_NAMESPACE_XML:
            ascii("xml:");
            break;
        case GUMBO_ATTR_NAMESPACE_XMLNS:
            if (std::strcmp(attribute.name, "xmlns") != 0)
                ascii("xmlns:");
            break;
        case GUMBO_ATTR_NAMESPACE_NONE:
            break;
        }
        verbatim(attribute.name);
        out.append(QLatin1Char('='));
        if (canStandBare(attribute.value)) {
            verbatim(attribute.value);
            return;
        }
        out.append(QLatin1Char('"'));
        {
            GumboTree::Utf16Appender value(out);
            forEachCodePoint(attribute.value, [&value](char32_t code) {
                if (code == '&')
                    value.put(QLatin1StringView("&amp;"));
                else if (code == '"')
                    value.put(QLatin1StringView("&quot;"));
                else
                    value.put(code);
            });
        }
        out.append(QLatin1Char('"'));
    }

    void text(const char *utf8)
    {
        GumboTree::Utf16Appender out(m_result.markup);
        forEachCodePoint(utf8, [&out](char32_t code) {
            switch (code) {
            case '&':
                out.put(QLatin1StringView("&amp;"));
                break;
            case '<':
                out.put(QLatin1StringView("&lt;"));
                break;
            case '>':
                out.put(QLatin1StringView("&gt;"));
                break;
            case 0xA0:
                out.put(QLatin1StringView("&nbsp;"));
                break;
            default:
                out.put(code);
            }
        });
    }

    void verbatim(const char *utf8)
    {
        GumboTree::Utf16Appender out(m_result.markup);
        forEachCodePoint(utf8, [&out](char32_t code) { out.put(code); });
    }

    void ascii(const char *latin1) { m_result.markup.append(QLatin1StringView(latin1)); }

    Result m_result;
    std::vector<qsizetype> m_open; // element indexes of the open elements
};

} // namespace

Result serialize(const GumboNode *root, qsizetype sizeHint)
{
    Writer writer(sizeHint);
    GumboTree::walk(
        root, [&writer](const GumboNode *node) { return writer.enter(node); },
        [&writer](const GumboNode *node) { writer.leave(node); });
    return writer.take();
}

} // namespace MarkupSerializer
