#pragma once

#include <QString>
#include <optional>

class QWidget;

// The one message box of both programs: a title, a text, an icon and either
// an OK button or a yes/no question. Tests answer it instead of a person
// (as KeePassXC's MessageBox::setNextAnswer does), so no box waits on a
// screen where nobody clicks.
namespace MessageBox {

enum class Icon { None, Information, Warning, Critical };
enum class Buttons { Ok, YesNo };
// Above the topmost tool windows (the tool and its composer), or where any
// window's box stands (revovi, 「推移」).
enum class Layer { AboveToolWindows, Ordinary };

// True for OK or yes.
bool show(QWidget *parent, const QString &title, const QString &text, Icon icon,
          Buttons buttons = Buttons::Ok, Layer layer = Layer::AboveToolWindows);

// The kinds of box by name.
inline void warning(QWidget *parent, const QString &title, const QString &text,
                    Layer layer = Layer::AboveToolWindows)
{
    show(parent, title, text, Icon::Warning, Buttons::Ok, layer);
}
// A yes/no question without an icon; true for yes.
inline bool question(QWidget *parent, const QString &title, const QString &text)
{
    return show(parent, title, text, Icon::None, Buttons::YesNo);
}

// The answer the next boxes get without showing; std::nullopt shows them
// again. For tests.
void setNextAnswer(std::optional<bool> answer);

} // namespace MessageBox
