#pragma once

// The hourglass pointer of a long walk over the whole program; every begin
// is matched by an end.
namespace Hourglass {

void begin();
void end();

} // namespace Hourglass
