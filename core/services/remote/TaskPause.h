// Pauses of the remote link's task that hold only that task, through the core's sleep table.
#pragma once

#include <cstdint>

namespace tavrel::core::remote {

// Puts the calling task to sleep for that long; false when the task has been asked to stop.
bool pauseThisTask(std::uint32_t milliseconds);

}  // namespace tavrel::core::remote
