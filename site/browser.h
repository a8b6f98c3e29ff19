#pragma once

#include "common/failure.h"
#include "site/document.h"

#include <QString>
#include <optional>

// A browser operation failed in a way the caller may want to report.
class BrowserError : public Failure
{
public:
    using Failure::Failure;
};

// The browser window is gone (the user closed it, or it crashed). Callers
// that can recover (the world entry walk) create a new browser.
class BrowserGone : public BrowserError
{
public:
    using BrowserError::BrowserError;
};

// The browser could not start because another program has its profile
// open: nothing is missing, and the text says which program holds it.
class ProfileInUse : public BrowserError
{
public:
    using BrowserError::BrowserError;
};

// The one browser of the run, as the program uses it. Every member may throw
// BrowserError or BrowserGone.
class Browser
{
public:
    enum ReadyState { Loading = 1, Interactive = 3, Complete = 4 };

    virtual ~Browser() = default;

    // Each returns at once; loading goes on.
    virtual void navigate(const QString &address) = 0;
    virtual void refresh() = 0;
    virtual void back() = 0;
    virtual void forward() = 0;

    virtual int readyState() = 0;
    // True while a load is in progress, including while the previous
    // document still answers after a navigation was started.
    virtual bool busy() = 0;
    // The current address; empty before the first load.
    virtual QString locationUrl() = 0;

    // Waits up to about maxMs for the document the last navigate, refresh,
    // back or forward asked for to be complete (the previous document never
    // counts), and returns it read in one piece; nullopt while it is still
    // loading. Window events run meanwhile. A document() that follows right
    // after (no command in between) gives the same page without reading it
    // again.
    virtual std::optional<Document> awaitComplete(int maxMs) = 0;

    // The page as it is now, read in one piece.
    virtual Document document() = 0;

    // Sets the value of the page's input or textarea with that element id.
    virtual void setFieldValue(const QString &elementId, const QString &value) = 0;

    // Ends the browser and everything it started. Never throws.
    virtual void quit() = 0;
};
