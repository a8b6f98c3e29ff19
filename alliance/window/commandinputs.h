#pragma once

#include "alliance/walk/commandentry.h"

#include <QHash>
#include <QString>

class QWidget;

// The commands' inputs as the tool window's text boxes hold them: 「同盟ID」
// (Text2), 「区切 人口」 and 「戦功」 (Text3(0), Text3(1)), 「キーワード」 (Text4).
namespace CommandInputBoxes {

// The boxes' texts into the inputs; the ranking panel's choices are the
// caller's.
void read(const QHash<QString, QWidget *> &controls, CommandInputs &inputs);
// The inputs shown back in the boxes whose text differs.
void show(const QHash<QString, QWidget *> &controls, const CommandInputs &inputs);

} // namespace CommandInputBoxes
