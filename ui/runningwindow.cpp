#include "ui/runningwindow.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace {

const QByteArray kRaise = "raise\n";
const QByteArray kRaised = "raised\n";
constexpr int kAnswerMs = 3000;

} // namespace

RunningWindow::RunningWindow(const QString &worldFolder, QObject *parent)
    : QObject(parent), m_name(socketName(worldFolder))
{
}

RunningWindow::~RunningWindow() = default;

QString RunningWindow::socketName(const QString &worldFolder)
{
    const QString folder = QDir::cleanPath(QFileInfo(worldFolder).absoluteFilePath());
    const QByteArray hash =
        QCryptographicHash::hash((QDir::homePath() + u'\n' + folder).toUtf8(), QCryptographicHash::Sha1)
            .toHex();
    return QStringLiteral("ovekwarden-") + QFileInfo(folder).fileName().section(u'_', 0, 0) + u'-' +
           QString::fromLatin1(hash.left(16));
}

bool RunningWindow::handOverToRunning()
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kAnswerMs))
        return false; // no window of this world: a socket left by a crash refuses
    socket.write(kRaise);
    if (!socket.waitForBytesWritten(kAnswerMs))
        return false;
    // The answer says the window is there; one busy in a walk still answers,
    // its walk keeps the events moving.
    while (!socket.canReadLine() && socket.waitForReadyRead(kAnswerMs)) {
    }
    return socket.readLine() == kRaised;
}

void RunningWindow::listen(std::function<QWidget *()> window)
{
    m_window = std::move(window);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a program that died would refuse the name.
    QLocalServer::removeServer(m_name);
    m_server->listen(m_name);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine() || socket->readLine() != kRaise)
                    return;
                bringToFront();
                socket->write(kRaised);
                socket->flush();
                socket->disconnectFromServer();
            });
        }
    });
}

void RunningWindow::bringToFront()
{
    QWidget *window = m_window ? m_window() : nullptr;
    if (!window)
        return;
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}
