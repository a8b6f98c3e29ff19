#pragma once

#include "demosite/world.h"

#include <string>

// The world as JSON (UTF-8): the ground truth tests compare the tool with.
std::string dumpWorld(const World &world);
