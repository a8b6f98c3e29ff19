#pragma once

class BrowserSlot;
class HistoryRecorder;
class Navigator;
class Pacer;
class PageKeeper;
class ToolPort;
struct Session;

// What every browser command of the tool window is handed: the run's
// session, the way to load pages, the browser, the pacing pause and the
// window as a port. Tests hand fakes.
struct CommandContext
{
    Session &session;
    Navigator &navigator;
    BrowserSlot &browsers;
    Pacer &pacer;
    ToolPort &port;
    // Where a completed walk leaves its snapshot; none: nothing is recorded.
    HistoryRecorder *history = nullptr;
    // Where a page that never showed a reader's mark is kept; none: not kept.
    PageKeeper *keeper = nullptr;
};
