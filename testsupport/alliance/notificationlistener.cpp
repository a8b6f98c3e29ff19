#include "testsupport/alliance/notificationlistener.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>

NotificationListener::NotificationListener() : m_connection(QStringLiteral("notification-listener"))
{
    // The bus lives as long as the shell dbus-run-session runs.
    m_bus.start(QStringLiteral("dbus-run-session"),
                {QStringLiteral("--"), QStringLiteral("sh"), QStringLiteral("-c"),
                 QStringLiteral("echo \"$DBUS_SESSION_BUS_ADDRESS\"; exec sleep 100000")});
    if (!m_bus.waitForStarted(10000)) {
        m_problem = QStringLiteral("dbus-run-session does not start (Debian's dbus-daemon)");
        return;
    }
    QElapsedTimer waited;
    waited.start();
    while (!m_bus.canReadLine() && waited.elapsed() < 10000)
        m_bus.waitForReadyRead(100);
    const QString address = QString::fromUtf8(m_bus.readLine()).trimmed();
    QDBusConnection bus = QDBusConnection::connectToBus(address, m_connection);
    if (!bus.isConnected()) {
        m_problem = QStringLiteral("no private bus at ") + address;
        return;
    }
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
        m_problem = QStringLiteral("the notification service cannot be registered");
        return;
    }
    m_address = address;
}

NotificationListener::~NotificationListener()
{
    QDBusConnection::disconnectFromBus(m_connection);
    m_bus.kill();
    m_bus.waitForFinished(5000);
}

QStringList NotificationListener::GetCapabilities()
{
    return {QStringLiteral("body")};
}

uint NotificationListener::Notify(const QString &, uint, const QString &, const QString &summary,
                                  const QString &body, const QStringList &, const QVariantMap &, int)
{
    m_received << summary + u'|' + body;
    return static_cast<uint>(m_received.size());
}

void NotificationListener::CloseNotification(uint) {}

QString NotificationListener::GetServerInformation(QString &vendor, QString &version, QString &specVersion)
{
    vendor = QStringLiteral("test");
    version = QStringLiteral("1");
    specVersion = QStringLiteral("1.2");
    return QStringLiteral("notification-listener");
}
