#pragma once

#include "site/orphanguard.h"

#include <QProcess>
#include <QString>

// chromedriver as a child process on a free loopback port, leading its own
// process group so that it and the Chromium it starts end together, also
// when this program is killed.
class ChromedriverProcess
{
public:
    ChromedriverProcess() = default;
    ~ChromedriverProcess();
    ChromedriverProcess(const ChromedriverProcess &) = delete;
    ChromedriverProcess &operator=(const ChromedriverProcess &) = delete;

    // Starts the program and returns once its /status says ready. Throws
    // BrowserError when it cannot be started, Quitting when the program is
    // closing meanwhile; either way nothing of it is left running.
    void start(const QString &program);
    int port() const { return m_port; }
    qint64 processId() const { return m_groupId; }
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }

    // Ends chromedriver and every process of its group. Never throws.
    void stop();

private:
    bool tryStartOn(const QString &program, int port);

    QProcess m_process;
    OrphanGuard::GroupTie m_tie;
    int m_port = 0;
    qint64 m_groupId = 0;
};
