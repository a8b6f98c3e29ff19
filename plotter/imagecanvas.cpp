#include "plotter/imagecanvas.h"

#include "common/numbers.h"
#include "common/twips.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace {

// 96 dpi, so point sizes come out as they do on the 1280 x 1024 screen the
// layout was made for, whatever the display reports.
constexpr int DotsPerMeterAt96Dpi = 3780;

} // namespace

ImageCanvas::ImageCanvas(QSize pixels, const QColor &background, const QColor &textColour, const QFont &font)
    : m_image(pixels, QImage::Format_RGB32), m_background(background), m_textColour(textColour), m_font(font)
{
    m_image.setDotsPerMeterX(DotsPerMeterAt96Dpi);
    m_image.setDotsPerMeterY(DotsPerMeterAt96Dpi);
    clear();
}

void ImageCanvas::clear()
{
    m_image.fill(m_background);
}

void ImageCanvas::fillBar(qint64 x1, qint64 y1, qint64 x2, qint64 y2, const QColor &colour)
{
    // Clipped in twips first, so no far-off corner reaches int pixels.
    const qint64 widthTwips = Twips::fromPixels(m_image.width());
    const qint64 heightTwips = Twips::fromPixels(m_image.height());
    const qint64 left = std::max<qint64>(std::min(x1, x2), 0);
    const qint64 right = std::min<qint64>(std::max(x1, x2), widthTwips);
    const qint64 top = std::max<qint64>(std::min(y1, y2), 0);
    const qint64 bottom = std::min<qint64>(std::max(y1, y2), heightTwips);
    if (left > right || top > bottom)
        return;
    // Both edges are included, so even a 4-twip line covers one pixel.
    QPainter painter(&m_image);
    painter.fillRect(QRect(QPoint(Twips::toPixels(left), Twips::toPixels(top)),
                           QPoint(Twips::toPixels(right), Twips::toPixels(bottom))),
                     colour);
}

void ImageCanvas::drawText(qint64 left, qint64 top, const QString &text)
{
    // Text wholly outside the image is skipped before it reaches Qt's int
    // coordinates.
    const qint64 widthTwips = Twips::fromPixels(m_image.width());
    const qint64 heightTwips = Twips::fromPixels(m_image.height());
    if (left >= widthTwips || top >= heightTwips || left < -widthTwips || top < -heightTwips)
        return;
    const int x = Twips::toPixels(left);
    const int y = Twips::toPixels(top);
    QPainter painter(&m_image);
    painter.setFont(m_font);
    painter.setPen(m_textColour);
    const QFontMetricsF metrics(m_font, &m_image);
    painter.drawText(QPointF(double(x), double(y) + metrics.ascent()), text);
}

qint64 ImageCanvas::textWidth(const QString &text) const
{
    const QFontMetricsF metrics(m_font, &m_image);
    return static_cast<qint64>(Numbers::roundHalfEven(metrics.horizontalAdvance(text) * Twips::kPerPixel));
}

void ImageCanvas::setFontSize(int points)
{
    m_font.setPointSize(points);
}
