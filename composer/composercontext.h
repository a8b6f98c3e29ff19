#pragma once

#include <QString>

class BrowserSlot;
class BrowserSteps;
class Navigator;
class PageKeeper;
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

// What the composer is handed: the run's session (AppDir, AllianceId,
// WorldNumber, the world's address), the way to load pages, the browser,
// the desktop's file opener, and the runner its page steps go through, the
// same one as the tool window's commands; where a letter page made
// otherwise is kept (none: not kept).
struct ComposerContext
{
    Session &session;
    Navigator &navigator;
    BrowserSlot &browsers;
    FileOpener &opener;
    BrowserSteps &steps;
    PageKeeper *keeper = nullptr;
};
