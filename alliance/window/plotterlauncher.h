#pragma once

#include <QString>
#include <functional>

class ToolPort;

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

    // 「同盟員分布図」: the plotter on the alliance's roster. Tells the user
    // when the roster or the program is missing, or the start failed; hide
    // (the tool window minimising itself) is called just before the start,
    // restore when the start failed. A window closed meanwhile starts nothing.
    void launch(const QString &allianceId, ToolPort &port, const std::function<void()> &hide,
                const std::function<void()> &restore) const;

private:
    QString m_appDir;
    QString m_program;
};
