#pragma once

// The real ovekwarden program run with --run against demosite, as a timer
// runs it: a program folder of its own, the run's end (code, output, time),
// and the files it leaves in its world's folder.
#include "testsupport/alliance/endtoendfixture.h"
#include "testsupport/site/browserprocesses.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

struct Ended
{
    int code = -1;
    bool crashed = false;
    QString out;
    QString err;
    qint64 ms = 0;
};

class UnattendedEndToEnd : public EndToEndFixture
{
protected:
    QStringList siteOptions() const override { return demoOptions(members()); }
    virtual int members() const { return 5; }

    void SetUp() override
    {
        EndToEndFixture::SetUp();
        // A program folder of its own: AppDir, profile and history are the run's.
        m_program = m_programDir.filePath(QStringLiteral("ovekwarden"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(OVEKWARDEN_PROGRAM), m_program));
        m_own = ownAllianceId();
        // Where a test lays files of an earlier run before the program starts.
        ASSERT_TRUE(QDir().mkpath(worldDir()));
    }

    // commands: the --run list; "--check-pages" for the page check.
    QStringList arguments(const QString &commands) const
    {
        const QStringList run = commands == QStringLiteral("--check-pages")
                                    ? QStringList{commands}
                                    : QStringList{QStringLiteral("--run"), commands};
        return run + QStringList{QStringLiteral("--headless"), QStringLiteral("--top-url"), m_site.topUrl(),
                                 QStringLiteral("--world-url"), m_site.worldUrl()};
    }
    void start(QProcess &process, const QString &commands) const
    {
        if (!m_environment.isEmpty())
            process.setProcessEnvironment(m_environment);
        process.start(m_program, arguments(commands));
        ASSERT_TRUE(process.waitForStarted());
    }
    static Ended finish(QProcess &process, int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        // Events go on meanwhile: a test's own services (a notification
        // listener) answer the program while it runs.
        while (process.state() != QProcess::NotRunning && timer.elapsed() < timeoutMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            process.waitForFinished(20);
        }
        const bool finished = process.state() == QProcess::NotRunning;
        Ended ended;
        ended.ms = timer.elapsed();
        if (!finished) {
            process.kill();
            process.waitForFinished();
        }
        ended.code = finished ? process.exitCode() : -1;
        ended.crashed = process.exitStatus() == QProcess::CrashExit;
        ended.out = QString::fromUtf8(process.readAllStandardOutput());
        ended.err = QString::fromUtf8(process.readAllStandardError());
        return ended;
    }
    Ended run(const QString &commands, int timeoutMs = 240000)
    {
        QProcess process;
        start(process, commands);
        return finish(process, timeoutMs);
    }

    // The run's files are in its world's folder beside the program.
    QString worldDir() const { return m_site.worldFolder(m_programDir.path()); }
    QString appFile(const QString &name) const { return worldDir() + name; }
    QByteArray bytes(const QString &path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }
    // Every file the program's folder holds besides the program and the
    // browser's own, with its bytes.
    QMap<QString, QByteArray> dataFiles() const
    {
        QMap<QString, QByteArray> found;
        for (const QString &name : QDir(worldDir()).entryList(QDir::Files))
            found.insert(name, bytes(appFile(name)));
        return found;
    }
    // A browser killed with its program takes the kernel a moment to reap.
    bool browserLeft() const
    {
        QElapsedTimer waited;
        waited.start();
        while (!runningProcessesMentioning(appFile(QStringLiteral("browser-profile"))).isEmpty()) {
            if (waited.elapsed() > 3000)
                return true;
            QThread::msleep(50);
        }
        return false;
    }
    QString lordName(int userId) const
    {
        for (const QJsonValue lord : dump()[QStringLiteral("lords")].toArray()) {
            if (lord[QStringLiteral("user_id")].toInt() == userId)
                return lord[QStringLiteral("name")].toString();
        }
        return {};
    }
    // A list made at another second reads the same otherwise.
    static QString withoutTime(QString text)
    {
        static const QRegularExpression time(QStringLiteral("\\d{2}:\\d{2}:\\d{2}"));
        return text.replace(time, QStringLiteral("hh:mm:ss"));
    }

    QTemporaryDir m_programDir;
    QString m_program;
    // The programs' environment; empty: this one's.
    QProcessEnvironment m_environment;
    QString m_own;
};
