#include "DefaultMachineHost.h"

namespace tavrel::machine {

void DefaultMachineHost::waitForWakeUp() {
  ++sleeps;
  wakeUpSignalled = false;
}

void DefaultMachineHost::postMessage(uint32_t type, uint32_t first, uint32_t second) {
  messages.push_back({type, first, second});
}

}  // namespace tavrel::machine
