#pragma once

#include <QString>

// Starts revovi, the plotter, beside the tool: from AppDir, with the roster's
// bare file name as its one argument, without waiting for it.
class PlotterLauncher
{
public:
    PlotterLauncher(const QString &appDir, const QString &program);

    static QString programName(); // "revovi", with the platform's suffix
    QString rosterName(const QString &allianceId) const;
    bool rosterExists(const QString &rosterName) const;
    bool programExists() const;
    bool start(const QString &rosterName) const;

private:
    QString m_appDir;
    QString m_program;
};
