#include "RemoteCalls.h"

#include "ControlTask.h"
#include "DirectLink.h"
#include "DirectPort.h"
#include "Display.h"
#include "Machine.h"
#include "Processor.h"
#include "os/Tasks.h"

namespace tavrel::core::remote {

void openRemoteLink(machine::Machine& m) {
  std::shared_ptr<DirectLink> link = openDirectPort(kRemotePort, m);
  if (link == nullptr) {
    m.vm.carry = 1;
    return;
  }
  showLinkAnnunciator(m, true);
  const int priority = os::getTaskPriority(os::currentTask()) + 1;
  if (!startControlTask(m, link, priority)) {
    closeDirectPort(*link, m);
    m.vm.carry = 1;
    return;
  }
  m.vm.carry = 0;
}

void closeRemoteLink(machine::Machine& m) {
  if (std::shared_ptr<DirectLink> link = heldDirectPort()) {
    closeDirectPort(*link, m);
  } else {
    showLinkAnnunciator(m, false);
  }
}

void sendDirectByte(machine::Machine& m) {
  std::shared_ptr<DirectLink> link = heldDirectPort();
  if (link == nullptr || link->index() != kInfraredPort)
    link = openDirectPort(kInfraredPort, m);
  machine::setP(m, 0);
  m.vm.decimal = 0;
  if (link == nullptr) {
    m.vm.carry = 1;
    return;
  }
  showLinkAnnunciator(m, true);
  const auto byte = static_cast<std::uint8_t>(m.vm.A.lo & 0xFF);
  m.vm.carry = link->writeAll(&byte, 1) ? 0 : 1;
}

}  // namespace tavrel::core::remote
