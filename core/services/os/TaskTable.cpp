// The task table: slot search, the task's start routine, ending and reclaiming slots.
#include <cstdio>
#include <system_error>

#include "CoreLock.h"
#include "TaskRun.h"
#include "tavrel/Text.h"

namespace tavrel::os {
namespace {

tag_ThreadInfo* mainTaskSlot = nullptr;

void runTask(tag_ThreadInfo* slot, std::shared_ptr<TaskRun> run) {
  tlsSlot = slot;
  tlsRun = run.get();
  applyPriorityToThisThread(run->priority);
  run->entry();
  run->entry = TaskEntry();
  {
    std::lock_guard guard(run->mutex);
    run->ended = true;
  }
  run->changed.notify_all();
  tlsRun = nullptr;
  tlsSlot = nullptr;
}

// Called with the core lock held and the slot's thread already joined or detached.
void clearSlot(tag_ThreadInfo& slot) {
  slot.run.reset();
  slot.originLine = 0;
  slot.originFile.clear();
  slot.name.clear();
}

// Free, or finished (reclaimed here: the body has returned, so the join is short).
bool takeIfAvailable(tag_ThreadInfo& slot) {
  if (!slot.thread.joinable())
    return true;
  if (!slot.run->hasEnded())
    return false;
  slot.thread.join();
  clearSlot(slot);
  return true;
}

tag_ThreadInfo* findSlot() {
  auto& table = taskTable();
  for (std::size_t i = kTaskSlots - 1; i >= 1; --i) {
    if (takeIfAvailable(table[i]))
      return &table[i];
  }
  return table[0].thread.joinable() ? nullptr : &table[0];
}

}  // namespace

// A std::thread still joinable when destroyed ends the process, so tasks left at exit are
// asked to stop and joined, or detached when they do not stop.
struct TaskTableHolder {
  std::array<tag_ThreadInfo, kTaskSlots> slots;
  ~TaskTableHolder() {
    for (tag_ThreadInfo& slot : slots) {
      if (!slot.thread.joinable())
        continue;
      slot.run->requestStop();
      if (slot.run->waitEnded(kStopGrace)) {
        slot.thread.join();
      } else {
        slot.run->abandoned = true;
        slot.thread.detach();
      }
    }
  }
};

std::array<tag_ThreadInfo, kTaskSlots>& taskTable() {
  static TaskTableHolder table;
  return table.slots;
}

tag_ThreadInfo* createTask(TaskEntry entry, std::uint32_t priority, std::int32_t, std::uint32_t,
                           const log::_tagDebugLine& origin, const std::u16string& name) {
  if (entry.empty())
    return nullptr;
  CThreadLock::Scope scope(coreLock());
  tag_ThreadInfo* slot = findSlot();
  if (slot == nullptr)
    return nullptr;
  auto run = std::make_shared<TaskRun>();
  run->entry = std::move(entry);
  run->priority = static_cast<std::int32_t>(priority);
  // The slot is complete before the thread starts, so the body may look at it at once.
  slot->run = run;
  slot->originLine = origin.line;
  slot->originFile = origin.file;
  slot->name = name;
  try {
    slot->thread = std::thread(runTask, slot, std::move(run));
  } catch (const std::system_error&) {
    clearSlot(*slot);
    return nullptr;
  }
  return slot;
}

int endTask(tag_ThreadInfo* task) {
  if (task == nullptr)
    return 0;
  std::shared_ptr<TaskRun> run;
  {
    CThreadLock::Scope scope(coreLock());
    if (!task->thread.joinable())
      return 0;
    run = task->run;
    if (task->thread.get_id() == std::this_thread::get_id()) {
      run->requestStop();
      return 0;
    }
  }
  bool ended = run->waitEnded(kEndTaskWait);
  if (!ended) {
    run->requestStop();
    ended = run->waitEnded(kStopGrace);
  }
  std::thread thread;
  std::u16string name;
  {
    CThreadLock::Scope scope(coreLock());
    if (task->run != run)
      return 0;  // createTask reclaimed the finished slot meanwhile
    if (!ended)
      run->abandoned = true;
    thread = std::move(task->thread);
    name = task->name;
    clearSlot(*task);
  }
  if (ended) {
    thread.join();
  } else {
    thread.detach();
    std::fprintf(stderr, "endTask: task \"%s\" did not stop; it was left to finish alone\n",
                 toUtf8(name).c_str());
  }
  return 0;
}

int getTaskPriority(tag_ThreadInfo* task) {
  if (task == nullptr)
    return 0;
  CThreadLock::Scope scope(coreLock());
  return task->run ? task->run->priority : 0;
}

tag_ThreadInfo* currentTask() {
  const TaskRun* run = tlsRun;
  return run != nullptr && !run->abandoned.load() ? tlsSlot : nullptr;
}

tag_ThreadInfo* setMainTask(tag_ThreadInfo* task) {
  CThreadLock::Scope scope(coreLock());
  return std::exchange(mainTaskSlot, task);
}

tag_ThreadInfo* mainTask() {
  CThreadLock::Scope scope(coreLock());
  return mainTaskSlot;
}

}  // namespace tavrel::os
