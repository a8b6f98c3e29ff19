#pragma once

#include "common/clock.h"
#include "plotter/canvas.h"
#include "plotter/messageport.h"
#include "testsupport/common/fakeclock.h"

#include <QList>
#include <QStringList>
#include <utility>

// Fakes for the plotter's tests.

// Test text from UTF-8 source literals.
inline QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// A canvas for tests: remembers every call, in twips, and measures text as
// a fixed width per UTF-16 unit so label spacing is predictable.
class RecordingCanvas : public Canvas
{
public:
    struct Bar
    {
        qint64 x1, y1, x2, y2;
        QColor colour;
    };
    struct Text
    {
        qint64 left, top;
        QString text;
        int points;
    };

    static constexpr qint64 UnitWidth = 150;

    void clear() override
    {
        ++clears;
        bars.clear();
        texts.clear();
    }
    void fillBar(qint64 x1, qint64 y1, qint64 x2, qint64 y2, const QColor &colour) override
    {
        bars.append(Bar{x1, y1, x2, y2, colour});
    }
    void drawText(qint64 left, qint64 top, const QString &text) override
    {
        texts.append(Text{left, top, text, points});
    }
    qint64 textWidth(const QString &text) const override { return UnitWidth * text.size(); }
    void setFontSize(int size) override { points = size; }

    // The texts drawn at exactly this point.
    QStringList textsAt(qint64 left, qint64 top) const
    {
        QStringList found;
        for (const Text &t : texts)
            if (t.left == left && t.top == top)
                found.append(t.text);
        return found;
    }

    int clears = 0;
    int points = 0;
    QList<Bar> bars;
    QList<Text> texts;
};

// Noon on 6 May 2024.
inline FakeClock fixedClock()
{
    return FakeClock(12 * 3600, QDate(2024, 5, 6));
}

class RecordingMessages : public MessagePort
{
public:
    void information(const QString &title, const QString &text) override { shown.append({title, text}); }
    void warning(const QString &title, const QString &text) override { warned.append({title, text}); }
    QList<std::pair<QString, QString>> shown;
    QList<std::pair<QString, QString>> warned;
};
