#include "ProcessorAccess.h"

#include "MachineHost.h"

namespace tavrel::machine {

ProcessorHold::ProcessorHold(Machine& m) : m_(m) {
  // Announced before waiting, so the interpreter lets go at its next check point.
  m_.processorRequests.fetch_add(1);
  m_.host->acquireProcessor();
}

ProcessorHold::~ProcessorHold() {
  m_.host->releaseProcessor();
  if (m_.processorRequests.fetch_sub(1) == 1)
    m_.processorRequests.notify_all();
}

void yieldProcessor(Machine& m) {
  m.host->releaseProcessor();
  // Waiting for the count to drop, rather than relocking at once, keeps the interpreter from
  // taking the lock back before a waiting task has had it.
  for (uint32_t waiting = m.processorRequests.load(); waiting != 0;
       waiting = m.processorRequests.load())
    m.processorRequests.wait(waiting);
  m.host->acquireProcessor();
}

}  // namespace tavrel::machine
