#include "ui/screenplacement.h"

#include "common/twips.h"

#include <QScreen>
#include <QWidget>

namespace {

constexpr int kCheckMs = 50;
constexpr int kChecks = 40; // two seconds for the window manager

} // namespace

BottomLeftPlacement::BottomLeftPlacement(QWidget &window, int bottomMarginTwips)
    : QObject(&window), m_window(window), m_bottomMarginTwips(bottomMarginTwips)
{
    m_timer.setInterval(kCheckMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        const bool framed = m_window.frameGeometry() != m_window.geometry();
        if (framed)
            place();
        if (framed || ++m_checks >= kChecks)
            m_timer.stop();
    });
}

void BottomLeftPlacement::start()
{
    place();
    m_checks = 0;
    m_timer.start();
}

void BottomLeftPlacement::place()
{
    if (const QScreen *screen = m_window.screen()) {
        const QRect available = screen->geometry();
        const int top =
            available.height() - m_window.frameGeometry().height() - Twips::toPixels(m_bottomMarginTwips);
        m_window.move(0, qMax(0, top));
    }
}
