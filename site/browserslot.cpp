#include "site/browserslot.h"

#include <QScopeGuard>

Browser &BrowserSlot::current()
{
    if (!m_browser)
        throw BrowserGone(QStringLiteral("ブラウザがありません。"));
    return *m_browser;
}

Browser &BrowserSlot::replaceWithNew()
{
    quit();
    m_replacing = true;
    const auto done = qScopeGuard([this] { m_replacing = false; });
    m_browser = m_factory();
    return *m_browser;
}

void BrowserSlot::quit()
{
    if (m_browser) {
        m_browser->quit();
        m_retired.push_back(std::move(m_browser));
    }
}
