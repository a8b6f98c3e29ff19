#pragma once

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
    // What a click on 「再起動」 runs.
    void setRestartHandler(std::function<void()> handler) { m_restart = std::move(handler); }

    void Label2_Click();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    std::function<void()> m_restart;
    bool m_restarting = false;
};
