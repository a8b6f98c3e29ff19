#include "site/controltable.h"

#include "common/twips.h"
#include "site/wrappingcheckbox.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QWidget *makeControl(const ControlSpec &spec, QWidget *parent)
{
    using K = ControlSpec::Kind;
    switch (spec.kind) {
    case K::Frame:
        return new QGroupBox(spec.caption, parent);
    case K::Button: {
        auto *button = new QPushButton(spec.caption, parent);
        button->setAutoDefault(false);
        return button;
    }
    case K::Label:
        return new QLabel(spec.caption, parent);
    case K::LineEdit:
        return new QLineEdit(spec.caption, parent);
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
        if (!spec.caption.isEmpty()) {
            // The caption shows what the combo lists until an entry is
            // picked; typing in it never adds an entry.
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setEditText(spec.caption);
        }
        return combo;
    }
    case K::Option:
        return new QRadioButton(spec.caption, parent);
    case K::Check:
        return new WrappingCheckBox(spec.caption, parent);
    }
    return nullptr;
}

} // namespace

namespace ControlTable {

QHash<QString, QWidget *> build(QWidget *window, const std::vector<ControlSpec> &table)
{
    QHash<QString, QWidget *> controls;
    for (const ControlSpec &spec : table) {
        QWidget *parent = spec.parent.isEmpty() ? window : controls.value(spec.parent);
        QWidget *widget = makeControl(spec, parent);
        widget->setObjectName(spec.name);
        const QRect &r = spec.twips;
        widget->setGeometry(Twips::toPixelRect(r.x(), r.y(), r.width(), r.height()));
        controls.insert(spec.name, widget);
    }
    return controls;
}

} // namespace ControlTable
