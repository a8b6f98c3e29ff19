#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstring>
#include <gumbo.h>
#include <memory>
#include <utility>
#include <vector>

// Small helpers over gumbo's parse tree shared by the page snapshot's
// serializer, text renderer and link scan.
namespace GumboTree {

// One parse of a page and all the memory it takes. gumbo makes many small
// allocations; they come from a few large blocks here and go in one piece
// when the parse ends, which makes a page parse markedly faster.
class Parse
{
public:
    explicit Parse(const QByteArray &utf8); // utf8 must outlive the Parse
    ~Parse() = default;
    Parse(const Parse &) = delete;
    Parse &operator=(const Parse &) = delete;

    // The HTML root element; gumbo makes one whatever the text holds.
    const GumboNode *root() const { return m_output->root; }

private:
    static void *allocate(void *self, std::size_t size);
    static void release(void *, void *) {}

    std::vector<std::unique_ptr<std::byte[]>> m_blocks;
    std::byte *m_free = nullptr;
    std::size_t m_left = 0;
    std::size_t m_nextBlockSize = 256 * 1024;
    GumboOutput *m_output = nullptr;
};

inline const GumboVector &children(const GumboNode *node)
{
    return node->type == GUMBO_NODE_DOCUMENT ? node->v.document.children : node->v.element.children;
}

inline bool isElement(const GumboNode *node)
{
    return node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE;
}

inline bool isHtmlElement(const GumboNode *node, GumboTag tag)
{
    return isElement(node) && node->v.element.tag == tag &&
           node->v.element.tag_namespace == GUMBO_NAMESPACE_HTML;
}

// Walks the tree below and including root in document order without
// recursion, so a page nested thousands of levels deep cannot exhaust the
// stack. enter(node) returns false to skip the node's children;
// leave(node) follows the children of every entered element.
template <typename Enter, typename Leave> void walk(const GumboNode *root, Enter &&enter, Leave &&leave)
{
    std::vector<std::pair<const GumboNode *, unsigned>> open;
    if (!enter(root))
        return;
    if (!isElement(root) && root->type != GUMBO_NODE_DOCUMENT)
        return;
    open.emplace_back(root, 0u);
    while (!open.empty()) {
        auto &[node, next] = open.back();
        const GumboVector &kids = children(node);
        if (next == kids.length) {
            const GumboNode *done = node;
            open.pop_back();
            leave(done);
            continue;
        }
        const auto *child = static_cast<const GumboNode *>(kids.data[next++]);
        if (enter(child) && isElement(child))
            open.emplace_back(child, 0u);
    }
}

// Calls sink(char32_t) for every code point of a UTF-8 text. gumbo hands
// out valid UTF-8, but a broken sequence still yields U+FFFD instead of
// reading past the end.
template <typename Sink> void forEachCodePoint(const char *text, std::size_t length, Sink &&sink)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(text);
    std::size_t i = 0;
    while (i < length) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            sink(char32_t(lead));
            ++i;
            continue;
        }
        const int extra = lead >= 0xF0 && lead < 0xF8 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        char32_t code = extra == 3 ? lead & 0x07u : extra == 2 ? lead & 0x0Fu : lead & 0x1Fu;
        bool valid = extra > 0 && i + std::size_t(extra) < length;
        for (int k = 1; valid && k <= extra; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80)
                valid = false;
            else
                code = (code << 6) | (bytes[i + k] & 0x3Fu);
        }
        if (!valid || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            sink(char32_t(0xFFFD));
            ++i;
            continue;
        }
        sink(code);
        i += std::size_t(extra) + 1;
    }
}

template <typename Sink> void forEachCodePoint(const char *text, Sink &&sink)
{
    forEachCodePoint(text, std::strlen(text), std::forward<Sink>(sink));
}

inline void appendCodePoint(QString &out, char32_t code)
{
    if (code < 0x10000) {
        out.append(QChar(char16_t(code)));
    } else {
        out.append(QChar(QChar::highSurrogate(code)));
        out.append(QChar(QChar::lowSurrogate(code)));
    }
}

// Hands decoded text to a QString in runs through a small local buffer: one
// append per run instead of one per character, which is most of the cost of
// writing a page.
class Utf16Appender
{
public:
    explicit Utf16Appender(QString &out) : m_out(out) {}
    ~Utf16Appender() { flush(); }
    Utf16Appender(const Utf16Appender &) = delete;
    Utf16Appender &operator=(const Utf16Appender &) = delete;

    void put(char32_t code)
    {
        if (m_used + 2 > Capacity)
            flush();
        if (code < 0x10000) {
            m_buffer[m_used++] = char16_t(code);
        } else {
            m_buffer[m_used++] = QChar::highSurrogate(code);
            m_buffer[m_used++] = QChar::lowSurrogate(code);
        }
    }

    void put(QLatin1StringView text)
    {
        flush();
        m_out.append(text);
    }

    void flush()
    {
        m_out.append(reinterpret_cast<const QChar *>(m_buffer), m_used);
        m_used = 0;
    }

private:
    static constexpr int Capacity = 512;
    QString &m_out;
    char16_t m_buffer[Capacity];
    int m_used = 0;
};

// The element's tag name in upper case, as the legacy markup writes it.
// Elements gumbo does not know keep the name they were written with.
void appendTagName(QString &out, const GumboNode *element);

// The attribute's value, or a null QString when the element has none.
QString attribute(const GumboNode *element, const char *name);

} // namespace GumboTree
