#pragma once

#include <QString>
#include <functional>

class BrowserSlot;
class Navigator;
struct Session;

// Opens a file in the program the desktop associates with it. Tests record
// instead of opening anything.
class FileOpener
{
public:
    virtual ~FileOpener() = default;
    // The result is not looked at: the desktop tells the user itself.
    virtual void open(const QString &path) = 0;
};

// One browser user at a time: the tool window's commands and the composer's
// page loads and fills share the one browser. begin() returns false while
// another command drives it; every successful begin() is matched by end().
// Without functions the composer drives the browser whenever asked.
struct BrowserUse
{
    std::function<bool()> begin;
    std::function<void()> end;
};

// What the composer is handed: the run's session (AppDir, AllianceId,
// WorldNumber, the world's address), the way to load pages, the browser,
// the desktop's file opener and the browser-use guard.
struct ComposerContext
{
    Session &session;
    Navigator &navigator;
    BrowserSlot &browsers;
    FileOpener &opener;
    BrowserUse browserUse = {};
};
