#pragma once

#include "site/browser.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// A browser that serves pages from HTML strings by address and records every
// call that moves it, for tests of anything that drives the browser.
//
// A load starts with navigate/refresh/back/forward. It is busy for the page's
// busy polls (each busy() call counts one), then not busy but not complete
// for its incomplete polls (each readyState() call counts one), then complete.
// Each awaitComplete() call counts as one poll of whichever phase the load is
// in, and gives the document only once the load is complete.
class FakeBrowser : public Browser
{
public:
    struct Page
    {
        QString html;
        // Busy polls of the first, second, ... load of this page; the last
        // entry holds for every later load. Empty: never busy.
        QList<int> busyPollsPerLoad;
        // Likewise the readyState() polls that find it neither busy nor complete.
        QList<int> incompletePollsPerLoad;
        // The page as the first, second, ... load shows it, when it comes in
        // pieces; the last holds for every later load. Empty: html always.
        QStringList htmlPerLoad = {};
    };

    // An address with no page loads an empty document.
    void addPage(const QString &address, const QString &html);
    void addPage(const QString &address, const Page &page);
    // The next `times` loads of from land on to instead (-1: every load), as a
    // server redirect would.
    void redirect(const QString &from, const QString &to, int times = 1);
    // Every member except quit throws BrowserGone from now on.
    void close() { m_closed = true; }

    // "navigate <address>", "refresh", "back", "forward",
    // "setFieldValue <id>=<value>", "quit", in the order they were made.
    const QStringList &calls() const { return m_calls; }
    QStringList navigations() const; // the addresses of the navigate calls only
    int loadCount(const QString &address) const { return m_loadCounts.value(address); }
    QString fieldValue(const QString &elementId) const { return m_fields.value(elementId); }
    bool quitCalled() const { return m_quit; }

    void navigate(const QString &address) override;
    void refresh() override;
    void back() override;
    void forward() override;
    int readyState() override;
    bool busy() override;
    QString locationUrl() override;
    std::optional<Document> awaitComplete(int maxMs) override;
    Document document() override;
    void setFieldValue(const QString &elementId, const QString &value) override;
    void quit() override;

private:
    void throwIfClosed() const;
    void load(const QString &requested);

    QHash<QString, Page> m_pages;
    struct Redirect
    {
        QString to;
        int timesLeft;
    };
    QHash<QString, Redirect> m_redirects;
    QHash<QString, int> m_loadCounts;
    QHash<QString, QString> m_fields;
    QStringList m_calls;
    QStringList m_history;
    qsizetype m_historyIndex = -1;
    QString m_current;
    int m_currentLoad = 0;
    int m_busyLeft = 0;
    int m_incompleteLeft = 0;
    bool m_closed = false;
    bool m_quit = false;
};
