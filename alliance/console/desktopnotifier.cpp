#include "alliance/console/desktopnotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
// A service that does not answer soon is not waited for: the run has ended.
constexpr int kCallTimeoutMs = 5000;

} // namespace

QString SessionBusNotifier::asMarkup(const QString &text)
{
    return text.toHtmlEscaped();
}

void SessionBusNotifier::notify(const QString &summary, const QString &body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    const QDBusMessage asked =
        bus.call(QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("GetCapabilities")),
                 QDBus::Block, kCallTimeoutMs);
    // No service: the answer is an error, and nothing more is sent.
    if (asked.type() != QDBusMessage::ReplyMessage)
        return;
    const QStringList capabilities = asked.arguments().value(0).toStringList();
    const bool markup = capabilities.contains(QStringLiteral("body-markup"));
    QDBusMessage notice = QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
    // The session's default expiry; no actions: the text says what to do.
    notice << QStringLiteral("ovekwarden") << 0u << QStringLiteral("ovekwarden") << summary
           << (markup ? asMarkup(body) : body) << QStringList() << QVariantMap() << -1;
    bus.call(notice, QDBus::Block, kCallTimeoutMs);
}
