// The core's tasks: a table of 16 slots over std::thread, with names, priorities,
// cooperative suspension, task-local identity and the main-task pointer.
//
// Suspension is cooperative. suspendTask only raises a request; the task stops when it next
// calls taskCheckpoint() and stays inside that call until it is resumed, then carries on
// from exactly that point. The interpreter calls taskCheckpoint() between two instructions,
// so a suspended emulation task stops between two instructions and continues with the next
// one. A task blocked elsewhere (in waitEvent, say) stops at its next check point.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "tavrel/fn/Function.h"
#include "tavrel/log/DebugLine.h"

namespace tavrel::os {

using TaskEntry = fn::Function<fn::ret<void>>;

// Platform-style priorities: 0 normal, negative below, kTimeCriticalPriority the highest.
inline constexpr int kTimeCriticalPriority = 15;

struct TaskRun;

// One slot of the task table. Free: thread not joinable. Running: thread set and the run
// not ended. Finished: thread set and the run ended (the body has returned).
struct tag_ThreadInfo {
  std::thread thread;
  // The body and the task's control state live in the run, which the thread shares; so a
  // task that had to be abandoned never touches the slot once it has been reused.
  std::shared_ptr<TaskRun> run;
  std::int32_t originLine = 0;
  std::u16string originFile;
  std::u16string name;
};

inline constexpr std::size_t kTaskSlots = 16;
std::array<tag_ThreadInfo, kTaskSlots>& taskTable();

// Takes a slot from 15 downward to 1 (free, or finished: its thread is joined first), then
// slot 0 when free; null when none is left, when entry is empty or the thread cannot start.
// stackSize and reserved are accepted and ignored.
tag_ThreadInfo* createTask(TaskEntry entry, std::uint32_t priority, std::int32_t stackSize,
                           std::uint32_t reserved, const log::_tagDebugLine& origin,
                           const std::u16string& name);

// Ends a task and frees its slot; returns 0. A finished task is joined. A running one gets
// 200 ms to finish; then it is asked to stop (taskCheckpoint() returns true for it, and a
// suspended task is released) and gets kStopGrace more. A std::thread cannot be killed
// safely, so a task that still runs after that is detached: its run keeps what it uses
// alive, it is no longer anybody's currentTask(), and its slot can be reused at once.
// A task ending itself is only asked to stop; its slot is reclaimed once it has returned.
inline constexpr std::chrono::milliseconds kEndTaskWait{200};
inline constexpr std::chrono::milliseconds kStopGrace{2000};
int endTask(tag_ThreadInfo* task);

// The priority the task was created with; 0 for null. Priorities are applied best effort
// (lowering always works, raising needs the system's permission).
int getTaskPriority(tag_ThreadInfo* task);

// Cooperative suspension (see above); each returns 0 and does nothing for null.
int suspendTask(tag_ThreadInfo* task);
int resumeTask(tag_ThreadInfo* task);   // drops the suspend count by one
int releaseTask(tag_ThreadInfo* task);  // drops the suspend count to zero

// The suspend point a task calls where stopping is safe. Returns at once unless the task is
// suspended (then it waits to be resumed) or asked to stop (then it returns true and the
// task should return). Costs one relaxed atomic load when nothing is pending.
bool taskCheckpoint();

// Waits until the task sits suspended in taskCheckpoint() or has ended; false on time-out.
bool waitTaskSuspended(tag_ThreadInfo* task, std::chrono::milliseconds limit);

// The caller's own slot; null on threads that createTask did not make.
tag_ThreadInfo* currentTask();

// Both under the core lock; setMainTask returns the previous main task.
tag_ThreadInfo* setMainTask(tag_ThreadInfo* task);
tag_ThreadInfo* mainTask();

// Sleep table: suspends the task now and resumes it after the given time, from a wake-up
// thread; returns 0 at once, or -1 when all 16 entries are in use.
inline constexpr std::size_t kSleepSlots = 16;
int sleepTask(tag_ThreadInfo* task, std::uint32_t milliseconds);
// Ends every pending sleep early (its task is resumed) and waits for the wake-up threads.
void cancelSleeps();

// Applies a platform-style priority to the calling thread, best effort.
void applyPriorityToThisThread(int priority);

}  // namespace tavrel::os
