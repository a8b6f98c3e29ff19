#pragma once

#include <QImage>
#include <QProcess>
#include <QString>

// A virtual X screen of its own for a test that runs a program as a real
// window, and a screenshot of it. Ends the server when it goes.
class XvfbDisplay
{
public:
    XvfbDisplay(int width = 1280, int height = 1024);
    ~XvfbDisplay();

    bool isRunning() const { return !m_name.isEmpty(); }
    QString name() const { return m_name; }  // ":N"
    QProcessEnvironment environment() const; // the caller's, with DISPLAY set to this screen

    // True once a top-level window whose title contains title is mapped.
    bool waitForWindow(const QString &title, int timeoutMs = 15000) const;
    QImage screenshot() const;

private:
    QProcess m_server;
    QString m_name;
};
