#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

class QLabel;

// The small start-up window 「起動中」: on top of everything while the browser
// walks into the world. Its 「再起動」 label repeats the world entry walk.
class OvekWarden : public QWidget
{
    Q_OBJECT
public:
    explicit OvekWarden(QWidget *parent = nullptr);

    // Placed and shown, topmost, before the walk begins.
    void showForStartup();
    // Offers the worlds by their captions (the last one used first) and
    // waits: the index clicked, or -1 for 「終了」, Escape or the window
    // closed. Shows the window when it is not shown yet.
    int chooseWorld(const QStringList &captions);
    // What a click on 「再起動」 runs.
    void setRestartHandler(std::function<void()> handler) { m_restart = std::move(handler); }

    void Label2_Click();

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    std::function<void()> m_restart;
    bool m_restarting = false;
    bool m_shown = false;
    class QEventLoop *m_choosing = nullptr; // while the world question waits
};
