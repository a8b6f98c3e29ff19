#pragma once

#include <QRect>
#include <QString>
#include <vector>

// The controls of the tool window as it was designed: kind, control name,
// caption or default text, and the design rectangle in twips (left, top,
// width, height), relative to the frame that holds the control.
struct ControlSpec
{
    enum class Kind { Frame, Button, Label, LineEdit, TextBox, List, Combo, Option, Check };

    Kind kind;
    QString name;    // the objectName: "Command2", "Option1(0)"
    QString caption; // caption, or the default text of an input
    QRect twips;
    QString parent; // empty: the window itself
};

namespace ToolWindowLayout {

constexpr int kClientWidth = 3585;
constexpr int kClientHeight = 7680;

// In creation order: a frame before the controls it holds.
const std::vector<ControlSpec> &controls();

} // namespace ToolWindowLayout
