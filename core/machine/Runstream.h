// The 81B group: PC moves and the accelerated runstream instructions (81B1, 81B8-81BE) that
// walk the ROM's threaded code through D0, D1 and B.
#pragma once

#include <cstdint>

#include "Machine.h"

namespace tavrel::machine {

// Executes 81Bx at pc; returns the next PC. With honourRunning, a runstream loop that is still
// going when the run flag is cleared gives up and returns pc, so the instruction runs again
// on resume.
uint32_t runstream(Machine& m, uint32_t pc, uint32_t x, bool honourRunning);

}  // namespace tavrel::machine
