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

// True for OK or yes. onTop keeps the box above the topmost tool windows.
bool show(QWidget *parent, const QString &title, const QString &text, Icon icon,
          Buttons buttons = Buttons::Ok, bool onTop = true);

// The answer the next boxes get without showing; std::nullopt shows them
// again. For tests.
void setNextAnswer(std::optional<bool> answer);

} // namespace MessageBox
