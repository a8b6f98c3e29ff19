#include "alliance/plotterlauncher.h"

#include "common/datafile.h"
#include "common/rosterfile.h"

#include <QFileInfo>
#include <QProcess>

PlotterLauncher::PlotterLauncher(const QString &appDir, const QString &program)
    : m_appDir(appDir), m_program(program)
{
}

QString PlotterLauncher::programName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("revovi.exe");
#else
    return QStringLiteral("revovi");
#endif
}

QString PlotterLauncher::rosterName(const QString &allianceId) const
{
    return RosterFile::fileName(allianceId);
}

bool PlotterLauncher::rosterExists(const QString &rosterName) const
{
    return DataFile::exists(m_appDir + rosterName);
}

bool PlotterLauncher::programExists() const
{
    const QFileInfo info(m_program);
    return info.isFile() && info.isExecutable();
}

bool PlotterLauncher::start(const QString &rosterName) const
{
    // The plotter reads the name relative to its own directory, so it gets
    // the bare name and AppDir as its working directory.
    return QProcess::startDetached(m_program, {rosterName}, m_appDir);
}
