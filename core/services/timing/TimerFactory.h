// Making the core's timer service.
#pragma once

#include <memory>

#include "TimerService.h"

namespace tavrel::timing {

// Starts the timer task of the given service. Raises excpt::NoTimerServiceException (7051)
// when there is no service to start.
void startTimerService(TimerService* service);

// A new timer service with its task running. When the command service that import bound
// has a preferences service ("loadPrefsSystem"), the "90 Throttle" page goes to it, kept in
// the core's settings; without one the core runs unthrottled.
std::unique_ptr<TimerService> createTimerService();

}  // namespace tavrel::timing
