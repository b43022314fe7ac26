// Runs Vendel code on a machine.
#pragma once

#include <cstdint>

#include "Machine.h"

namespace tavrel::machine {

// Runs until m.running is cleared, then stores PC, tells the host and returns 0.
int runMachine(Machine& m);

struct StepResult {
  uint64_t executed = 0;    // instructions executed (taking an interrupt is not one)
  bool atShutdown = false;  // stopped before a SHUTDN, PC at the 807
};

// Executes exactly `steps` instructions on the calling thread, or fewer when a SHUTDN (807)
// comes next: that one is neither executed nor counted and PC is left at it.
StepResult stepMachine(Machine& m, uint64_t steps);

}  // namespace tavrel::machine
