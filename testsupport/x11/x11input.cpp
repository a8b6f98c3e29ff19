#include "testsupport/x11/x11input.h"

#include <QByteArray>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <memory>

namespace {

struct DisplayCloser
{
    void operator()(Display *display) const { XCloseDisplay(display); }
};
using DisplayHandle = std::unique_ptr<Display, DisplayCloser>;

// Windows come and go while the tree is walked (a browser that is being
// killed, a message box that closes): Xlib's own handler would end the
// whole test program on the first BadWindow. Such a window simply does not
// count.
int ignoreError(Display *, XErrorEvent *)
{
    return 0;
}

DisplayHandle open(const QString &name)
{
    XSetErrorHandler(ignoreError);
    return DisplayHandle(XOpenDisplay(name.toLocal8Bit().constData()));
}

QString titleOf(Display *display, Window window)
{
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    QString title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        title = QString::fromUtf8(reinterpret_cast<const char *>(data), int(count));
        XFree(data);
    }
    return title;
}

bool isMapped(Display *display, Window window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

enum class Match { Exact, Part };

Window findBy(Display *display, Window parent, const QString &title, Match match)
{
    Window root = 0, parentOut = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &parentOut, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        const QString name = isMapped(display, children[i]) ? titleOf(display, children[i]) : QString();
        if (!name.isEmpty() && (match == Match::Exact ? name == title : name.contains(title)))
            found = children[i];
        else
            found = findBy(display, children[i], title, match);
    }
    if (children)
        XFree(children);
    return found;
}

// The window of exactly that title, else the first whose title holds it:
// "同盟管理ツール" is the first world's window even beside "同盟管理ツール - w012".
Window find(Display *display, Window parent, const QString &title)
{
    const Window exact = findBy(display, parent, title, Match::Exact);
    return exact ? exact : findBy(display, parent, title, Match::Part);
}

// Where no window manager stacks the windows, a click lands on whatever
// lies on top at that place: the window is brought up first, as a person
// would bring it up before clicking into it.
void raise(Display *display, Window window)
{
    XRaiseWindow(display, window);
    XSync(display, False);
}

// Opens the display, finds the window by its title and acts on it; false
// when there is no such display or window.
template <typename Act> bool withWindow(const QString &displayName, const QString &title, Act act)
{
    const DisplayHandle display = open(displayName);
    if (!display)
        return false;
    const Window window = find(display.get(), DefaultRootWindow(display.get()), title);
    if (!window)
        return false;
    act(display.get(), window);
    XFlush(display.get());
    XSync(display.get(), False);
    return true;
}

} // namespace

namespace X11Input {

QString topmostTitle(const QString &displayName)
{
    const DisplayHandle display = open(displayName);
    if (!display)
        return {};
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display.get(), DefaultRootWindow(display.get()), &root, &parent, &children, &count))
        return {};
    QString title;
    // Bottom to top: the last mapped window with a title is on top.
    for (unsigned int i = 0; i < count; ++i) {
        if (!isMapped(display.get(), children[i]))
            continue;
        if (const QString name = titleOf(display.get(), children[i]); !name.isEmpty())
            title = name;
    }
    if (children)
        XFree(children);
    return title;
}

bool lower(const QString &displayName, const QString &title)
{
    return withWindow(displayName, title,
                      [](Display *display, Window window) { XLowerWindow(display, window); });
}

bool hasWindow(const QString &displayName, const QString &title)
{
    const DisplayHandle display = open(displayName);
    return display && find(display.get(), DefaultRootWindow(display.get()), title) != 0;
}

bool click(const QString &displayName, const QString &title, QPoint pos)
{
    return withWindow(displayName, title, [pos](Display *display, Window window) {
        raise(display, window);
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(display, window, DefaultRootWindow(display), pos.x(), pos.y(), &x, &y, &child);
        XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
        XTestFakeButtonEvent(display, 1, True, CurrentTime);
        XTestFakeButtonEvent(display, 1, False, 20);
    });
}

bool pressKeys(const QString &displayName, const QString &title, QPoint pos, const QStringList &keys)
{
    if (!click(displayName, title, pos))
        return false;
    const DisplayHandle display = open(displayName);
    if (!display)
        return false;
    QList<KeyCode> codes;
    for (const QString &key : keys) {
        const KeySym symbol = XStringToKeysym(key.toLatin1().constData());
        const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(display.get(), symbol);
        if (code == 0)
            return false;
        codes << code;
    }
    for (const KeyCode code : codes)
        XTestFakeKeyEvent(display.get(), code, True, CurrentTime);
    for (auto code = codes.crbegin(); code != codes.crend(); ++code)
        XTestFakeKeyEvent(display.get(), *code, False, 20);
    XFlush(display.get());
    XSync(display.get(), False);
    return true;
}

bool requestClose(const QString &displayName, const QString &title)
{
    return withWindow(displayName, title, [](Display *display, Window window) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, window, False, NoEventMask, &event);
    });
}

} // namespace X11Input
