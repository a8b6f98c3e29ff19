#pragma once

#include <QRect>
#include <QString>

// One control of a window as it was designed: kind, control name, caption
// or default text, and the design rectangle in twips (left, top, width,
// height), relative to the frame that holds it. The windows are built from
// tables of these, so a test can check every control's place against the
// design.
struct DesignedControl
{
    enum class Kind { Frame, Button, Label, LineEdit, TextBox, List, Combo, Option, Check };

    Kind kind;
    QString name;    // the objectName: "Command2", "Option1(0)"
    QString caption; // caption, or the default text of an input; a combo
                     // with a caption shows it until an entry is picked
    QRect twips;
    QString parent = {}; // a frame's name; empty: the window itself
};
