#include "alliance/window/plotterlauncher.h"

#include "alliance/walk/toolport.h"
#include "common/datafile.h"
#include "common/pump.h"
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

void PlotterLauncher::launch(const QString &allianceId, ToolPort &port, const std::function<void()> &hide,
                             const std::function<void()> &restore) const
{
    const QString roster = rosterName(allianceId);
    if (!rosterExists(roster)) {
        port.notify(QStringLiteral("同盟員名簿を作成してから、実行してください。"));
        return;
    }
    // Without the plotter beside the tool nothing would happen on the click;
    // say where it is expected instead.
    if (!programExists()) {
        port.warn(QStringLiteral("分布図プログラム（%1）が見つかりません。\r\n"
                                 "ovekwarden と同じフォルダに置いてから、もう一度実行してください。")
                      .arg(m_program));
        return;
    }
    try {
        hide();
    } catch (const Quitting &) {
        return; // the window was closed meanwhile
    }
    if (!start(roster)) {
        restore();
        port.warn(QStringLiteral("分布図プログラムを起動できませんでした。"));
    }
}
