#include "site/chromedriverprocess.h"

#include "common/pump.h"
#include "site/browser.h"
#include "site/orphanguard.h"
#include "site/webdriverclient.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpServer>

namespace {

int freeLoopbackPort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

constexpr int startAttempts = 3;
constexpr int readyWithinMs = 20000;
constexpr int stopGraceMs = 3000;

} // namespace

ChromedriverProcess::~ChromedriverProcess()
{
    stop();
}

void ChromedriverProcess::start(const QString &program)
{
    // Nothing is started for a program that is already closing.
    AppQuit::throwIfRequested();
    // The free port is found by binding and releasing it, so another program
    // can take it in between; chromedriver then exits at once and a second
    // port is tried.
    for (int attempt = 0; attempt < startAttempts; ++attempt) {
        const int port = freeLoopbackPort();
        try {
            if (port != 0 && tryStartOn(program, port))
                return;
        } catch (...) {
            // The program is closing while chromedriver starts: nothing of
            // the half-started driver may outlive it.
            stop();
            throw;
        }
        stop();
    }
    throw BrowserError(QStringLiteral("ブラウザ制御プログラム（") + program +
                       QStringLiteral("）を起動できませんでした。"));
}

bool ChromedriverProcess::tryStartOn(const QString &program, int port)
{
    m_process.setProgram(program);
    m_process.setArguments({QStringLiteral("--port=") + QString::number(port)});
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());
    OrphanGuard::makeGroupLeader(m_process, m_tie);
    m_process.start();
    const bool started = m_process.waitForStarted(5000);
    m_tie.started();
    if (!started)
        return false;
    m_groupId = m_process.processId();
    OrphanGuard::watch(m_groupId);
    m_port = port;

    WebDriverClient client(port);
    const QDeadlineTimer deadline(readyWithinMs);
    while (!deadline.hasExpired() && isRunning()) {
        try {
            const QJsonValue status = client.get(QStringLiteral("/status"), 2000);
            if (status.toObject().value(QStringLiteral("ready")).toBool())
                return true;
        } catch (const BrowserError &) {
            // Not listening yet.
        } catch (const WebDriverFailure &) {
        }
        // Both the request above and this pause throw Quitting once the
        // program is closing, so start-up ends at once instead of polling
        // on for the rest of the 20 seconds.
        pauseWithEvents(50);
    }
    return false;
}

void ChromedriverProcess::stop()
{
    if (m_groupId == 0) {
        // A driver that never started may still have its watcher waiting.
        m_tie.release();
        return;
    }
    m_process.terminate();
    m_process.waitForFinished(stopGraceMs);
    // Chromium and its helpers are in chromedriver's group; chromedriver may
    // have ended without taking them along.
    OrphanGuard::endGroup(m_groupId, stopGraceMs);
    if (isRunning()) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
    OrphanGuard::forget(m_groupId);
    m_tie.release();
    m_groupId = 0;
    m_port = 0;
}
