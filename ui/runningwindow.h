#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;
class QWidget;

// One window per world. The first start of a world listens on a local
// socket named after the world's folder; a second start of the same world
// asks that window to come to the front and ends, starting no browser.
class RunningWindow : public QObject
{
public:
    explicit RunningWindow(const QString &worldFolder, QObject *parent = nullptr);
    ~RunningWindow() override;

    // True when the world's running window answered: it comes to the front.
    bool handOverToRunning();
    // From now on a later start brings window() to the front (the start-up
    // window first, then the tool window).
    void listen(std::function<QWidget *()> window);

    // "ovekwarden-w003-<hash of the folder>": unique to the world and the
    // data folder, and short enough for any system's socket names.
    static QString socketName(const QString &worldFolder);

private:
    void bringToFront();

    QString m_name;
    QLocalServer *m_server = nullptr;
    std::function<QWidget *()> m_window;
};
