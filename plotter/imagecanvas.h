#pragma once

#include "plotter/canvas.h"

#include <QFont>
#include <QImage>
#include <QSize>

// The canvas of the plotter window and its panels: it paints into an image
// the widget keeps, so the map survives being covered and is still there
// when the user captures the screen.
class ImageCanvas : public Canvas
{
public:
    ImageCanvas(QSize pixels, const QColor &background, const QColor &textColour, const QFont &font);

    void clear() override;
    void fillBar(qint64 x1, qint64 y1, qint64 x2, qint64 y2, const QColor &colour) override;
    void drawText(qint64 left, qint64 top, const QString &text) override;
    qint64 textWidth(const QString &text) const override;
    void setFontSize(int points) override;

    const QImage &image() const { return m_image; }

private:
    QImage m_image;
    QColor m_background;
    QColor m_textColour;
    QFont m_font;
};
