#pragma once

#include <QObject>
#include <QProcess>
#include <QStringList>

// A private session bus (dbus-run-session) with this test holding
// org.freedesktop.Notifications on it, as a desktop's notification service
// does: every notification a program sends there is kept, "summary|body".
// The test's events must run while the program sends (the calls arrive as
// events).
class NotificationListener : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    NotificationListener();
    ~NotificationListener() override;

    // Empty when the bus and the service could not be had.
    QString address() const { return m_address; }
    QString problem() const { return m_problem; }
    QStringList received() const { return m_received; }

public slots:
    QStringList GetCapabilities();
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int expireTimeout);
    void CloseNotification(uint id);
    QString GetServerInformation(QString &vendor, QString &version, QString &specVersion);

private:
    QProcess m_bus;
    QString m_address;
    QString m_problem;
    QString m_connection;
    QStringList m_received;
};
