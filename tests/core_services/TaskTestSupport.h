// Helpers for tests that run core tasks.
#pragma once

#include <chrono>
#include <string>

#include "os/Event.h"
#include "os/Tasks.h"

namespace tavrel::os::test {

// Far longer than anything here should take; reaching it means a fault, not a slow host.
inline constexpr std::chrono::milliseconds kGenerous{10000};

inline tag_ThreadInfo* startTask(TaskEntry entry, const std::u16string& name = u"test") {
  return createTask(std::move(entry), 0, 0, 0, TAVREL_DEBUG_LINE, name);
}

// Ends every task the test left in the table.
inline void endAllTasks() {
  for (tag_ThreadInfo& slot : taskTable())
    endTask(&slot);
}

}  // namespace tavrel::os::test
