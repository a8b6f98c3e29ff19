#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <cmath>
#include <gtest/gtest.h>

// A control as the window's design places it: twips (left, top, width,
// height) relative to the frame that holds it, 15 twips to the pixel, and
// the caption it shows.
struct DesignedControl
{
    const char *name;
    int left, top, width, height;
    QString caption;
};

// The text a control shows as its caption: a button's or label's text, a
// line edit's text, a frame's title, a combo box's current text.
inline QString shownCaption(QWidget *widget)
{
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text();
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->contentsRect().width())
            << "the whole caption shows at its designed size";
        return label->text();
    }
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return edit->text();
    if (auto *frame = qobject_cast<QGroupBox *>(widget))
        return frame->title();
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return combo->currentText();
    return QString();
}

// Every designed control of window stands at its place with its caption.
template <std::size_t N> void expectDesignedControls(QWidget *window, const DesignedControl (&designed)[N])
{
    const auto px = [](int twips) { return int(std::lround(twips / 15.0)); };
    for (const DesignedControl &d : designed) {
        SCOPED_TRACE(d.name);
        QWidget *widget = window->findChild<QWidget *>(QString::fromLatin1(d.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), QRect(px(d.left), px(d.top), px(d.width), px(d.height)));
        EXPECT_EQ(shownCaption(widget), d.caption);
    }
}
