#pragma once

#include <QRect>
#include <QString>
#include <vector>

// The controls of the letter composer as it was designed: kind, control
// name, caption or default text, and the design rectangle in twips (left,
// top, width, height) in the window's client area.
struct Form2Control
{
    enum class Kind { Button, Label, LineEdit, TextBox, List, Combo };

    Kind kind;
    QString name;    // the objectName: "Command2(0)", "Text1"
    QString caption; // caption, or the default text of an input
    QRect twips;
};

namespace Form2Layout {

constexpr int kClientWidth = 12660;
constexpr int kClientHeight = 6270;

// In tab order: the body Text1 first.
const std::vector<Form2Control> &controls();

} // namespace Form2Layout
