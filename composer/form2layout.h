#pragma once

#include "common/designedcontrol.h"

#include <vector>

namespace Form2Layout {

constexpr int kClientWidth = 12660;
constexpr int kClientHeight = 6270;

// The letter composer's controls as designed, in tab order: the body
// Text1 first.
const std::vector<DesignedControl> &controls();

} // namespace Form2Layout
