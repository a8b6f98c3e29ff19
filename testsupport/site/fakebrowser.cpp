#include "testsupport/site/fakebrowser.h"

void FakeBrowser::addPage(const QString &address, const QString &html)
{
    Page page;
    page.html = html;
    addPage(address, page);
}

void FakeBrowser::addPage(const QString &address, const Page &page)
{
    m_pages.insert(address, page);
}

void FakeBrowser::redirect(const QString &from, const QString &to, int times)
{
    m_redirects.insert(from, Redirect{to, times});
}

QStringList FakeBrowser::navigations() const
{
    QStringList addresses;
    const QString prefix = QStringLiteral("navigate ");
    for (const QString &call : m_calls) {
        if (call.startsWith(prefix))
            addresses.append(call.mid(prefix.size()));
    }
    return addresses;
}

void FakeBrowser::throwIfClosed() const
{
    if (m_closed)
        throw BrowserGone(QStringLiteral("closed"));
}

namespace {

int pollsOfLoad(const QList<int> &perLoad, int loadIndex)
{
    if (perLoad.isEmpty())
        return 0;
    return perLoad.at(qMin<qsizetype>(loadIndex, perLoad.size() - 1));
}

} // namespace

void FakeBrowser::load(const QString &requested)
{
    QString address = requested;
    auto redirect = m_redirects.find(requested);
    if (redirect != m_redirects.end() && redirect->timesLeft != 0) {
        address = redirect->to;
        if (redirect->timesLeft > 0)
            --redirect->timesLeft;
    }
    m_current = address;
    const int loadIndex = m_loadCounts.value(address);
    m_loadCounts.insert(address, loadIndex + 1);
    m_currentLoad = loadIndex;
    const Page page = m_pages.value(address);
    m_busyLeft = pollsOfLoad(page.busyPollsPerLoad, loadIndex);
    m_incompleteLeft = pollsOfLoad(page.incompletePollsPerLoad, loadIndex);
}

void FakeBrowser::navigate(const QString &address)
{
    throwIfClosed();
    m_calls.append(QStringLiteral("navigate ") + address);
    load(address);
    m_history.resize(m_historyIndex + 1);
    m_history.append(m_current);
    m_historyIndex = m_history.size() - 1;
}

void FakeBrowser::refresh()
{
    throwIfClosed();
    m_calls.append(QStringLiteral("refresh"));
    if (!m_current.isEmpty())
        load(m_current);
}

void FakeBrowser::back()
{
    throwIfClosed();
    m_calls.append(QStringLiteral("back"));
    if (m_historyIndex > 0)
        load(m_history.at(--m_historyIndex));
}

void FakeBrowser::forward()
{
    throwIfClosed();
    m_calls.append(QStringLiteral("forward"));
    if (m_historyIndex + 1 < m_history.size())
        load(m_history.at(++m_historyIndex));
}

int FakeBrowser::readyState()
{
    throwIfClosed();
    if (m_busyLeft > 0)
        return Loading;
    if (m_incompleteLeft > 0) {
        --m_incompleteLeft;
        return Interactive;
    }
    return Complete;
}

bool FakeBrowser::busy()
{
    throwIfClosed();
    if (m_busyLeft > 0) {
        --m_busyLeft;
        return true;
    }
    return false;
}

QString FakeBrowser::locationUrl()
{
    throwIfClosed();
    return m_current;
}

std::optional<Document> FakeBrowser::awaitComplete(int)
{
    throwIfClosed();
    if (m_busyLeft > 0) {
        --m_busyLeft;
        return std::nullopt;
    }
    if (m_incompleteLeft > 0) {
        --m_incompleteLeft;
        return std::nullopt;
    }
    return document();
}

Document FakeBrowser::document()
{
    throwIfClosed();
    const Page page = m_pages.value(m_current);
    if (!page.htmlPerLoad.isEmpty())
        return Document::fromHtml(m_current, page.htmlPerLoad.value(m_currentLoad, page.htmlPerLoad.last()));
    return Document::fromHtml(m_current, page.html);
}

void FakeBrowser::setFieldValue(const QString &elementId, const QString &value)
{
    throwIfClosed();
    m_calls.append(QStringLiteral("setFieldValue ") + elementId + QLatin1Char('=') + value);
    m_fields.insert(elementId, value);
}

void FakeBrowser::quit()
{
    m_calls.append(QStringLiteral("quit"));
    m_quit = true;
}
