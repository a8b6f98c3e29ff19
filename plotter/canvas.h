#pragma once

#include <QColor>
#include <QString>
#include <QtGlobal>

// A drawing surface addressed in twips (15 to the pixel), origin at the
// top-left, y downward. The map, the date line and the member lists are all
// drawn through it, so tests can record positions instead of pixels.
class Canvas
{
public:
    virtual ~Canvas() = default;
    // Fills the whole surface with its background colour.
    virtual void clear() = 0;
    // A filled rectangle given by two opposite corners, both edges included.
    virtual void fillBar(qint64 x1, qint64 y1, qint64 x2, qint64 y2, const QColor &colour) = 0;
    // Text with its top-left corner at (left, top), transparent background, in
    // the surface's text colour and current font size.
    virtual void drawText(qint64 left, qint64 top, const QString &text) = 0;
    virtual qint64 textWidth(const QString &text) const = 0;
    virtual void setFontSize(int points) = 0;
};
