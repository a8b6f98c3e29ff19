#include "testsupport/site/browserprocesses.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

QList<qint64> runningProcessesMentioning(const QString &text)
{
    QList<qint64> found;
    const QByteArray needle = text.toUtf8();
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid || pid == QCoreApplication::applicationPid())
            continue;
        QFile cmdline(QStringLiteral("/proc/") + entry + QStringLiteral("/cmdline"));
        if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(needle))
            found.append(pid);
    }
    return found;
}

qint64 chromiumMainProcess(const QString &profileDir)
{
    for (qint64 pid : runningProcessesMentioning(profileDir)) {
        QFile cmdline(QStringLiteral("/proc/") + QString::number(pid) + QStringLiteral("/cmdline"));
        if (cmdline.open(QIODevice::ReadOnly) && !cmdline.readAll().contains("--type="))
            return pid;
    }
    return 0;
}

namespace {

// pid (comm) state ppid pgrp ...: the fields after the name.
QList<QByteArray> statFields(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/") + QString::number(pid) + QStringLiteral("/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.readAll();
    const qsizetype afterName = line.lastIndexOf(')');
    return afterName > 0 ? line.mid(afterName + 2).split(' ') : QList<QByteArray>{};
}

} // namespace

bool processRunning(qint64 pid)
{
    return processGroup(pid) != 0;
}

qint64 processGroup(qint64 pid)
{
    const QList<QByteArray> fields = statFields(pid);
    return fields.size() > 2 && fields[0] != "Z" ? fields[2].toLongLong() : 0;
}

QList<qint64> runningProcessesOfGroup(qint64 group)
{
    QList<qint64> found;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (isPid && group > 0 && processGroup(pid) == group)
            found.append(pid);
    }
    return found;
}

QString processName(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/") + QString::number(pid) + QStringLiteral("/comm"));
    return comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll()).trimmed() : QString();
}
