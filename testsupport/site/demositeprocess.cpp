#include "testsupport/site/demositeprocess.h"

#include "site/worldconfig.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QRegularExpression>
#include <stdexcept>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

DemoSiteProcess::DemoSiteProcess(QString program) : m_program(std::move(program)) {}

DemoSiteProcess::~DemoSiteProcess()
{
    stop();
}

void DemoSiteProcess::start(const QStringList &options, int timeoutMs)
{
    QStringList arguments = options;
    // Free ports, unless the test needs the ones compiled into the program.
    if (!options.contains(QStringLiteral("--top-port")))
        arguments << QStringLiteral("--top-port") << QStringLiteral("0") << QStringLiteral("--world-port")
                  << QStringLiteral("0");
    m_process.setProgram(m_program);
#ifdef Q_OS_LINUX
    // A test that dies takes its demo site along: left running, it would hold
    // the test runner's output open and the port taken.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
    m_process.setArguments(arguments);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    if (!m_process.waitForStarted(5000))
        throw std::runtime_error("demosite did not start: " + m_program.toStdString());

    static const QRegularExpression ready(QStringLiteral("demosite ready top=(\\d+) world=(\\d+)"));
    QByteArray output;
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        m_process.waitForReadyRead(100);
        output += m_process.readAllStandardOutput();
        const QRegularExpressionMatch match = ready.match(QString::fromUtf8(output));
        if (match.hasMatch()) {
            m_topPort = match.captured(1).toInt();
            m_worldPort = match.captured(2).toInt();
            return;
        }
    }
    stop();
    throw std::runtime_error("demosite did not report ready; output: " + output.toStdString());
}

void DemoSiteProcess::stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
}

QString DemoSiteProcess::topUrl() const
{
    return QStringLiteral("http://127.0.0.1:") + QString::number(m_topPort);
}

QString DemoSiteProcess::worldUrl() const
{
    return QStringLiteral("http://127.0.0.1:") + QString::number(m_worldPort);
}

QString DemoSiteProcess::worldFolder(const QString &dataFolder, const QString &worldNumber) const
{
    WorldConfig world;
    world.worldBaseUrl = worldUrl();
    world.worldNumber = worldNumber;
    return QDir(dataFolder).filePath(world.folderName()) + u'/';
}

QByteArray DemoSiteProcess::control(const QString &command) const
{
    return httpGet(worldUrl() + QStringLiteral("/__control/") + command);
}

QByteArray httpGet(const QString &url, int timeoutMs)
{
    QNetworkAccessManager network;
    network.setProxy(QNetworkProxy::NoProxy);
    QNetworkRequest request{QUrl(url)};
    request.setTransferTimeout(timeoutMs);
    QNetworkReply *reply = network.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    const QByteArray body = reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString error = reply->errorString();
    reply->deleteLater();
    if (status < 200 || status >= 300)
        throw std::runtime_error("GET " + url.toStdString() + " failed: " + error.toStdString());
    return body;
}
