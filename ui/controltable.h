#pragma once

#include "common/designedcontrol.h"

#include <QHash>
#include <QString>
#include <vector>

class QWidget;

namespace ControlTable {

// Makes every control of the table on window, each placed at its design
// rectangle (15 twips to the pixel) and named by its control name; frames
// come before the controls they hold. Returns the controls by name.
QHash<QString, QWidget *> build(QWidget *window, const std::vector<DesignedControl> &table);

} // namespace ControlTable
