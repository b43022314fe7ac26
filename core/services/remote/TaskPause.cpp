#include "TaskPause.h"

#include <chrono>
#include <thread>

#include "os/Tasks.h"

namespace tavrel::core::remote {

bool pauseThisTask(std::uint32_t milliseconds) {
  os::tag_ThreadInfo* self = os::currentTask();
  // Outside the task table, or with the sleep table full, the pause still has to happen.
  if (self == nullptr || os::sleepTask(self, milliseconds) != 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  return !os::taskCheckpoint();
}

}  // namespace tavrel::core::remote
