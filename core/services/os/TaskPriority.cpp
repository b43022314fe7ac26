// Platform-style priorities on POSIX threads. Only the time-critical level asks for a
// real-time policy; the others move the thread's nice value, five steps per level. Both
// are best effort: without the system's permission a raise is refused and the thread keeps
// its priority.
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

#include "Tasks.h"

namespace tavrel::os {

void applyPriorityToThisThread(int priority) {
  if (priority >= kTimeCriticalPriority) {
    sched_param param{};
    param.sched_priority = sched_get_priority_max(SCHED_FIFO);
    if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0)
      return;
  }
  if (priority == 0)
    return;
  const int nice = std::clamp(-5 * priority, -20, 19);
  // On Linux a thread id names a single thread here, so only the caller is changed.
  (void)setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), nice);
}

}  // namespace tavrel::os
