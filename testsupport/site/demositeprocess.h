#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// demosite run as a process on free ports for end-to-end tests and the
// benchmark. Needs a Qt application object (the waits run event loops).
class DemoSiteProcess
{
public:
    explicit DemoSiteProcess(QString program);
    ~DemoSiteProcess();

    // Starts with these options (plus free ports when they name none) and waits for its
    // "demosite ready top=P world=Q" line; throws std::runtime_error when it
    // does not come within timeoutMs.
    void start(const QStringList &options = {}, int timeoutMs = 15000);
    void stop();

    int topPort() const { return m_topPort; }
    int worldPort() const { return m_worldPort; }
    // "http://127.0.0.1:P", without a trailing "/".
    QString topUrl() const;
    QString worldUrl() const;
    // The program's folder of this site's world worldNumber, inside a data
    // folder: "w003_127.0.0.1_Q/".
    QString worldFolder(const QString &dataFolder, const QString &worldNumber = QStringLiteral("3")) const;

    // GET <worldUrl>/__control/<command> (command may carry a query, as in
    // "delay?path=/user/&ms=3000"); returns the body, throws on a failure.
    QByteArray control(const QString &command) const;

private:
    QString m_program;
    QProcess m_process;
    int m_topPort = 0;
    int m_worldPort = 0;
};

// A GET by plain HTTP with an event loop running meanwhile; throws
// std::runtime_error when there is no HTTP answer or the status is not 2xx.
QByteArray httpGet(const QString &url, int timeoutMs = 10000);
