#include "site/gumbotree.h"

namespace GumboTree {

Parse::Parse(const QByteArray &utf8)
{
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = &Parse::allocate;
    options.deallocator = &Parse::release;
    options.userdata = this;
    // Nobody reads the parse errors; recording them only costs time on
    // sloppy pages.
    options.max_errors = 0;
    m_output = gumbo_parse_with_options(&options, utf8.constData(), std::size_t(utf8.size()));
}

void *Parse::allocate(void *self, std::size_t size)
{
    auto *parse = static_cast<Parse *>(self);
    constexpr std::size_t alignment = alignof(std::max_align_t);
    size = (size + alignment - 1) / alignment * alignment;
    if (size > parse->m_left) {
        const std::size_t blockSize = std::max(size, parse->m_nextBlockSize);
        // new[] of std::byte is aligned for any fundamental type.
        parse->m_blocks.push_back(std::make_unique_for_overwrite<std::byte[]>(blockSize));
        parse->m_free = parse->m_blocks.back().get();
        parse->m_left = blockSize;
        parse->m_nextBlockSize = std::min<std::size_t>(parse->m_nextBlockSize * 2, 8 * 1024 * 1024);
    }
    void *block = parse->m_free;
    parse->m_free += size;
    parse->m_left -= size;
    return block;
}

void appendTagName(QString &out, const GumboNode *element)
{
    const GumboElement &e = element->v.element;
    if (e.tag != GUMBO_TAG_UNKNOWN) {
        for (const char *c = gumbo_normalized_tagname(e.tag); *c; ++c)
            out.append(QChar(char16_t(*c >= 'a' && *c <= 'z' ? *c - 'a' + 'A' : *c)));
        return;
    }
    GumboStringPiece name = e.original_tag;
    gumbo_tag_from_original_text(&name);
    forEachCodePoint(name.data, name.length, [&out](char32_t code) {
        appendCodePoint(out, code < 0x80 ? char32_t(code >= 'a' && code <= 'z' ? code - 'a' + 'A' : code)
                                         : QChar::toUpper(code));
    });
}

QString attribute(const GumboNode *element, const char *name)
{
    const GumboAttribute *found = gumbo_get_attribute(&element->v.element.attributes, name);
    return found ? QString::fromUtf8(found->value) : QString();
}

} // namespace GumboTree
