#include "ui/controltable.h"

#include "common/twips.h"
#include "ui/wrappingcheckbox.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace {

QWidget *makeControl(const DesignedControl &designed, QWidget *parent)
{
    using K = DesignedControl::Kind;
    switch (designed.kind) {
    case K::Frame:
        return new QGroupBox(designed.caption, parent);
    case K::Button: {
        auto *button = new QPushButton(designed.caption, parent);
        button->setAutoDefault(false);
        return button;
    }
    case K::Label:
        return new QLabel(designed.caption, parent);
    case K::LineEdit:
        return new QLineEdit(designed.caption, parent);
    case K::TextBox: {
        auto *box = new QPlainTextEdit(parent);
        box->setLineWrapMode(QPlainTextEdit::NoWrap); // both scroll bars: reports are column-aligned
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        return box;
    }
    case K::List:
        return new QListWidget(parent);
    case K::Combo: {
        auto *combo = new QComboBox(parent);
        if (!designed.caption.isEmpty()) {
            // The caption shows what the combo lists until an entry is
            // picked; typing in it never adds an entry.
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setEditText(designed.caption);
        }
        return combo;
    }
    case K::Option:
        return new QRadioButton(designed.caption, parent);
    case K::Check:
        return new WrappingCheckBox(designed.caption, parent);
    }
    return nullptr;
}

// The designed sizes were made for the Windows fonts; the faces here may run
// wider. A caption that does not fit its designed box is drawn a step
// smaller until it does, rather than cut.
void fitCaption(QLabel *label)
{
    QFont font = label->font();
    const int width = label->contentsRect().width();
    for (int step = 0; step < 8; ++step) {
        if (QFontMetrics(font).horizontalAdvance(label->text()) <= width)
            break;
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * 0.92);
        else
            font.setPixelSize(std::max(6, font.pixelSize() - 1));
    }
    label->setFont(font);
}

} // namespace

namespace ControlTable {

QHash<QString, QWidget *> build(QWidget *window, const std::vector<DesignedControl> &table)
{
    QHash<QString, QWidget *> controls;
    for (const DesignedControl &designed : table) {
        QWidget *parent = designed.parent.isEmpty() ? window : controls.value(designed.parent);
        QWidget *widget = makeControl(designed, parent);
        widget->setObjectName(designed.name);
        const QRect &r = designed.twips;
        widget->setGeometry(Twips::toPixelRect(r.x(), r.y(), r.width(), r.height()));
        if (auto *label = qobject_cast<QLabel *>(widget))
            fitCaption(label);
        controls.insert(designed.name, widget);
    }
    return controls;
}

} // namespace ControlTable
