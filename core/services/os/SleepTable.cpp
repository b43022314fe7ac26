// The sleep table: each entry has a wake-up thread that keeps its task suspended for the
// given time. The threads are joined, never detached, so none outlives the core.
#include <condition_variable>
#include <mutex>

#include "CoreLock.h"
#include "TaskRun.h"

namespace tavrel::os {
namespace {

struct SleepEntry {
  tag_ThreadInfo* task = nullptr;
  std::uint32_t milliseconds = 0;  // 0: free
  std::thread waker;
};

class SleepTable {
 public:
  // The core lock is made first so that it is still there when this table is destroyed.
  SleepTable() { coreLock(); }
  ~SleepTable() { cancelAll(); }

  int sleep(tag_ThreadInfo* task, std::uint32_t milliseconds);
  void cancelAll();

 private:
  void wake(SleepEntry& entry, const std::shared_ptr<TaskRun>& run);

  std::array<SleepEntry, kSleepSlots> entries_;
  std::mutex cancelMutex_;
  std::condition_variable cancelled_;
  std::uint64_t generation_ = 0;  // moves on at every cancelAll
};

SleepTable& sleepTable() {
  static SleepTable table;
  return table;
}

int SleepTable::sleep(tag_ThreadInfo* task, std::uint32_t milliseconds) {
  CThreadLock::Scope scope(coreLock());
  for (SleepEntry& entry : entries_) {
    if (entry.milliseconds != 0)
      continue;
    // A free entry's wake-up thread has done its work; only its return is left.
    if (entry.waker.joinable())
      entry.waker.join();
    // The run, not the slot, is suspended: the slot may be reused while the sleep lasts.
    std::shared_ptr<TaskRun> run = task != nullptr ? task->run : nullptr;
    if (run)
      run->suspend();
    std::uint64_t generation;
    {
      std::lock_guard guard(cancelMutex_);
      generation = generation_;
    }
    entry.task = task;
    // A sleep of 0 ms still occupies its entry until the wake-up thread frees it.
    entry.milliseconds = milliseconds == 0 ? 1 : milliseconds;
    const std::uint32_t length = milliseconds;
    entry.waker = std::thread([this, &entry, run, generation, length] {
      {
        std::unique_lock guard(cancelMutex_);
        cancelled_.wait_for(guard, std::chrono::milliseconds(length),
                            [&] { return generation_ != generation; });
      }
      wake(entry, run);
    });
    return 0;
  }
  return -1;
}

void SleepTable::wake(SleepEntry& entry, const std::shared_ptr<TaskRun>& run) {
  if (run)
    run->resume();
  CThreadLock::Scope scope(coreLock());
  entry.task = nullptr;
  entry.milliseconds = 0;
}

void SleepTable::cancelAll() {
  {
    std::lock_guard guard(cancelMutex_);
    ++generation_;
  }
  cancelled_.notify_all();
  std::array<std::thread, kSleepSlots> wakers;
  {
    CThreadLock::Scope scope(coreLock());
    for (std::size_t i = 0; i < kSleepSlots; ++i)
      wakers[i] = std::move(entries_[i].waker);
  }
  for (std::thread& waker : wakers) {
    if (waker.joinable())
      waker.join();
  }
}

}  // namespace

int sleepTask(tag_ThreadInfo* task, std::uint32_t milliseconds) {
  return sleepTable().sleep(task, milliseconds);
}

void cancelSleeps() {
  sleepTable().cancelAll();
}

}  // namespace tavrel::os
