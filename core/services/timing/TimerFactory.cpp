#include "TimerFactory.h"

#include "tavrel/excpt/Exception.h"

namespace tavrel::timing {

void startTimerService(TimerService* service) {
  if (service == nullptr)
    throw excpt::NoTimerServiceException();
  service->startTask();
}

std::unique_ptr<TimerService> createTimerService() {
  auto service = std::make_unique<TimerService>();
  startTimerService(service.get());
  return service;
}

}  // namespace tavrel::timing
