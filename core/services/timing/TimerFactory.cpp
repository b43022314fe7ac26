#include "TimerFactory.h"

#include "ThrottlePage.h"
#include "emulation/EmulationControl.h"
#include "plugin/CoreCommandLink.h"
#include "settings/CoreSettings.h"
#include "tavrel/excpt/Exception.h"

namespace tavrel::timing {
namespace {

// Runs a line only when its command is registered: a missing preferences service is normal
// and needs no complaint from the dispatcher.
void* runRegisteredCommand(const std::u16string& line) {
  const core::CoreCommandLink& link = core::commandLink();
  ICommandRegistry* registry = link.registry();
  const std::u16string name = line.substr(0, line.find(u' '));
  if (registry == nullptr || registry->get(name) == nullptr)
    return nullptr;
  return link.executeLine(line, 1);
}

}  // namespace

void startTimerService(TimerService* service) {
  if (service == nullptr)
    throw excpt::NoTimerServiceException();
  service->startTask();
}

std::unique_ptr<TimerService> createTimerService() {
  auto service = std::make_unique<TimerService>();
  startTimerService(service.get());
  auto page = std::make_unique<ThrottlePage>(*service, core::coreRegistry(), core::coreKey(u""),
                                             &runRegisteredCommand);
  page->add();
  service->keepThrottlePage(std::move(page));
  return service;
}

}  // namespace tavrel::timing
