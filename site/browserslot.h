#pragma once

#include "site/browser.h"

#include <functional>
#include <memory>
#include <vector>

// Holds the session's one browser. The world entry walk replaces it with a
// new one when the user has closed the window; everything else asks the slot
// for the current browser at each use rather than keeping a reference.
class BrowserSlot
{
public:
    using Factory = std::function<std::unique_ptr<Browser>()>;

    explicit BrowserSlot(Factory factory) : m_factory(std::move(factory)) {}

    bool hasBrowser() const { return m_browser != nullptr; }
    // True while the factory makes a new browser (it runs the event loop
    // meanwhile, so handlers may ask).
    bool isReplacing() const { return m_replacing; }
    // Throws BrowserGone when there is none.
    Browser &current();
    // Quits the old browser (if any) and makes a new one from the factory.
    Browser &replaceWithNew();
    // Quits and releases the browser; safe when it is already gone.
    void quit();

private:
    Factory m_factory;
    std::unique_ptr<Browser> m_browser;
    // Browsers already told to quit. A wait further down the stack may still
    // be inside one of their calls (the window closed mid-command), so they
    // are only destroyed with the slot.
    std::vector<std::unique_ptr<Browser>> m_retired;
    bool m_replacing = false;
};
