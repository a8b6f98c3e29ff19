#pragma once

#include "common/designedcontrol.h"

#include <vector>

namespace ToolWindowLayout {

constexpr int kClientWidth = 3585;
constexpr int kClientHeight = 7680;

// The tool window's controls as designed, in creation order: a frame
// before the controls it holds.
const std::vector<DesignedControl> &controls();

} // namespace ToolWindowLayout
