#include "site/document.h"

#include "common/readfailure.h"
#include "site/bodytext.h"
#include "site/gumbotree.h"
#include "site/markupserializer.h"

#include <QByteArray>
#include <QUrl>

struct Document::Data
{
    QString address;
    QString markup;
    QList<MarkupSerializer::ElementSpan> elements;
    QString bodyText;
    QList<Link> links;
};

namespace {

// Browsers drop control characters and blanks around an address, and
// nothing else (QString::trimmed would also take U+3000).
QUrl parseAddress(const QString &text)
{
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && text.at(first).unicode() <= 0x20)
        ++first;
    while (end > first && text.at(end - 1).unicode() <= 0x20)
        --end;
    return QUrl(text.mid(first, end - first));
}

// A link as the browser reports it: absolute, in the encoded form the
// address bar shows. An href the URL parser cannot make sense of is kept as
// written, as the browser does.
QString resolve(const QUrl &base, const QString &href)
{
    const QUrl resolved = base.resolved(parseAddress(href));
    return resolved.isValid() ? resolved.toString(QUrl::FullyEncoded) : href;
}

QList<Document::Link> collectLinks(const GumboNode *root, const QString &address)
{
    QList<Document::Link> links;
    QString baseHref;
    GumboTree::walk(
        root,
        [&](const GumboNode *node) {
            if (!GumboTree::isElement(node))
                return false;
            if (baseHref.isNull() && GumboTree::isHtmlElement(node, GUMBO_TAG_BASE))
                baseHref = GumboTree::attribute(node, "href");
            if (GumboTree::isHtmlElement(node, GUMBO_TAG_A) ||
                GumboTree::isHtmlElement(node, GUMBO_TAG_AREA)) {
                const QString href = GumboTree::attribute(node, "href");
                if (!href.isNull())
                    links.append({href, GumboTree::attribute(node, "title")});
            }
            return true;
        },
        [](const GumboNode *) {});
    // The first BASE with an href sets the base of every link on the page,
    // wherever it stands, as it does in the browser.
    QUrl base(address);
    if (!baseHref.isNull())
        base = base.resolved(parseAddress(baseHref));
    for (Document::Link &link : links)
        link.href = resolve(base, link.href);
    return links;
}

} // namespace

Document::Document() : m_data(QSharedPointer<const Data>::create()) {}

Document Document::fromHtml(const QString &address, const QString &html)
{
    const QByteArray utf8 = html.toUtf8();
    const GumboTree::Parse parse(utf8);
    const GumboNode *root = parse.root();

    auto data = QSharedPointer<Data>::create();
    data->address = address;
    MarkupSerializer::Result serialized = MarkupSerializer::serialize(root, html.size());
    data->markup = std::move(serialized.markup);
    data->elements = std::move(serialized.elements);
    data->bodyText = BodyText::render(root);
    data->links = collectLinks(root, address);

    Document document;
    document.m_data = data;
    return document;
}

QString Document::address() const
{
    return m_data->address;
}

const QString &Document::markup() const
{
    return m_data->markup;
}

qsizetype Document::elementCount() const
{
    return m_data->elements.size();
}

namespace {

// Like the old object model, asking for an element past the end is an
// error that reaches the reader's caller, not a silent empty element.
void requireElement(qsizetype index, qsizetype count)
{
    if (index < 0 || index >= count)
        throw ReadFailure(QStringLiteral("No element %1 on the page (it has %2).").arg(index).arg(count));
}

} // namespace

QString Document::tagName(qsizetype index) const
{
    requireElement(index, elementCount());
    const auto &span = m_data->elements.at(index);
    return m_data->markup.mid(span.outerBegin + 1, span.nameLength);
}

QStringView Document::outerHtml(qsizetype index) const
{
    requireElement(index, elementCount());
    const auto &span = m_data->elements.at(index);
    return QStringView(m_data->markup).mid(span.outerBegin, span.outerEnd - span.outerBegin);
}

QStringView Document::rootInnerHtml() const
{
    return elementCount() > 0 ? innerHtml(0) : QStringView();
}

QStringView Document::innerHtml(qsizetype index) const
{
    requireElement(index, elementCount());
    const auto &span = m_data->elements.at(index);
    return QStringView(m_data->markup).mid(span.innerBegin, span.innerEnd - span.innerBegin);
}

const QString &Document::bodyText() const
{
    return m_data->bodyText;
}

const QList<Document::Link> &Document::links() const
{
    return m_data->links;
}
