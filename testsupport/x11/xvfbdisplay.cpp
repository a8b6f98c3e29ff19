#include "testsupport/x11/xvfbdisplay.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

XvfbDisplay::XvfbDisplay(int width, int height)
{
    // -displayfd lets the server pick a free display and tell us which.
    m_server.start(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                    QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(width).arg(height),
                    QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!m_server.waitForStarted(5000))
        return;
    QElapsedTimer waited;
    waited.start();
    QByteArray out;
    while (!out.contains('\n') && waited.elapsed() < 10000) {
        m_server.waitForReadyRead(200);
        out += m_server.readAllStandardOutput();
    }
    const QByteArray number = out.trimmed();
    if (!number.isEmpty())
        m_name = QStringLiteral(":") + QString::fromLatin1(number);
}

XvfbDisplay::~XvfbDisplay()
{
    m_server.terminate();
    if (!m_server.waitForFinished(3000))
        m_server.kill();
    m_server.waitForFinished(1000);
}

QProcessEnvironment XvfbDisplay::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_name);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

bool XvfbDisplay::waitForWindow(const QString &title, int timeoutMs) const
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < timeoutMs) {
        QProcess tree;
        tree.setProcessEnvironment(environment());
        tree.start(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
        tree.waitForFinished(5000);
        if (QString::fromUtf8(tree.readAllStandardOutput()).contains(title))
            return true;
        QThread::msleep(200);
    }
    return false;
}

QImage XvfbDisplay::screenshot() const
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("shot.png"));
    QProcess grab;
    grab.setProcessEnvironment(environment());
    grab.start(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file});
    grab.waitForFinished(20000);
    return QImage(file);
}
