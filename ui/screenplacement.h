#pragma once

#include <QObject>
#include <QTimer>

class QWidget;

// Keeps a window at the left edge of its screen, bottomMarginTwips above the
// bottom. Under a window manager the frame is known only some time after
// show(): the window is placed at once, and again once its frame is known
// (looked at every 50 ms for two seconds).
class BottomLeftPlacement : public QObject
{
    Q_OBJECT
public:
    BottomLeftPlacement(QWidget &window, int bottomMarginTwips);

    void start();
    void stop() { m_timer.stop(); }

private:
    void place();

    QWidget &m_window;
    int m_bottomMarginTwips;
    QTimer m_timer;
    int m_checks = 0;
};
