#include "site/browserslot.h"

Browser &BrowserSlot::current()
{
    if (!m_browser)
        throw BrowserGone(QStringLiteral("ブラウザがありません。"));
    return *m_browser;
}

Browser &BrowserSlot::replaceWithNew()
{
    quit();
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
