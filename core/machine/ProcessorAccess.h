// Tasks other than the interpreter (the display refresh, key delivery, the remote link) that
// read or change what the firmware works on hold the processor lock while they do, so they
// see the machine between two instructions. The interpreter holds that lock the whole time it
// executes, so it lets go on request: it looks for waiting tasks every 256 instructions (one
// relaxed load) and inside its own waits; while it sleeps in SHUTDN the lock is free anyway.
#pragma once

#include "Machine.h"

namespace tavrel::machine {

// Holds the processor lock for its lifetime. On the interpreter's own task (native calls)
// it nests inside the lock the interpreter holds.
class ProcessorHold {
 public:
  explicit ProcessorHold(Machine& m);
  ~ProcessorHold();
  ProcessorHold(const ProcessorHold&) = delete;
  ProcessorHold& operator=(const ProcessorHold&) = delete;

 private:
  Machine& m_;
};

// The interpreter's side, with the processor lock held: lets every waiting task have the
// lock, then takes it back.
void yieldProcessor(Machine& m);

inline void serveProcessorRequests(Machine& m) {
  if (m.processorRequests.load(std::memory_order_relaxed) != 0)
    yieldProcessor(m);
}

}  // namespace tavrel::machine
