#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

// What a person does to a program's windows on an X screen: click in a
// window, and ask it to close as the window's × does (WM_DELETE_WINDOW).
// Windows are found by their title, or else by a part of it.
namespace X11Input {

// Whether a mapped window with that title part is on the screen.
bool hasWindow(const QString &display, const QString &title);
// The title of the window on top of all others, empty when none has one.
QString topmostTitle(const QString &display);
// Sends the window below all others.
bool lower(const QString &display, const QString &title);
// A left click at pos (pixels inside the window), brought up first.
bool click(const QString &display, const QString &title, QPoint pos);
// Keys pressed together, in the window (it is clicked at pos first, so it
// has the focus): keysym names, e.g. {"Control_L", "Shift_L", "a"}.
bool pressKeys(const QString &display, const QString &title, QPoint pos, const QStringList &keys);
// The close request of the window's ×.
bool requestClose(const QString &display, const QString &title);

} // namespace X11Input
