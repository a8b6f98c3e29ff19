#pragma once

#include <QString>

// Where the notification of a run nobody watched goes: the desktop's
// notification service, or a recording in tests.
class DesktopNotifier
{
public:
    virtual ~DesktopNotifier() = default;
    // Never fails the run: without a service the notification is dropped.
    virtual void notify(const QString &summary, const QString &body) = 0;
};

// The freedesktop.org notification service on the session bus, which every
// Linux desktop runs. Without a session bus, or without the service on it,
// nothing is shown and nothing is said.
class SessionBusNotifier : public DesktopNotifier
{
public:
    void notify(const QString &summary, const QString &body) override;

    // A service that reads its body as markup gets names with 「<」 or 「&」 as
    // text, not as tags.
    static QString asMarkup(const QString &text);
};
