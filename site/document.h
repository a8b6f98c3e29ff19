#pragma once

#include <QList>
#include <QSharedPointer>
#include <QString>
#include <QStringView>

// One snapshot of a page: its address and its HTML, and everything the
// readers use derived from those two by one pure function. A Document built
// from an HTML string in a test is exactly what the live browser gives.
class Document
{
public:
    struct Link
    {
        QString href;  // resolved against the page address
        QString title; // the title attribute, empty when there is none
    };

    Document(); // an empty page with no address
    static Document fromHtml(const QString &address, const QString &html);

    QString address() const;

    // The whole page in the legacy serialization the readers match
    // (upper-case tags, bare attribute values where possible).
    const QString &markup() const;

    // Every element in document order, the root element first.
    qsizetype elementCount() const;
    QString tagName(qsizetype index) const; // upper case
    // Views into markup(); valid as long as this Document (or a copy) lives.
    QStringView outerHtml(qsizetype index) const;
    QStringView innerHtml(qsizetype index) const;

    // The inner markup of the root element, the page's markup as the
    // readers search it; empty for a page without elements. Every other
    // element's markup is a part of it, so a marker no other element holds
    // is found here first.
    QStringView rootInnerHtml() const;

    // The rendered text of BODY, lines joined by CR LF.
    const QString &bodyText() const;

    // Every A and AREA with an href, in document order.
    const QList<Link> &links() const;

private:
    struct Data;
    QSharedPointer<const Data> m_data;
};
