// Cooperative suspension and stop requests.
#include "CoreLock.h"
#include "TaskRun.h"

namespace tavrel::os {

void TaskRun::changedControl() {
  attention.store(suspendCount > 0 || stopRequested, std::memory_order_release);
  changed.notify_all();
}

void TaskRun::suspend() {
  std::lock_guard guard(mutex);
  ++suspendCount;
  changedControl();
}

void TaskRun::resume() {
  std::lock_guard guard(mutex);
  if (suspendCount > 0)
    --suspendCount;
  changedControl();
}

void TaskRun::release() {
  std::lock_guard guard(mutex);
  suspendCount = 0;
  changedControl();
}

void TaskRun::requestStop() {
  std::lock_guard guard(mutex);
  stopRequested = true;
  changedControl();
}

bool TaskRun::hasEnded() {
  std::lock_guard guard(mutex);
  return ended;
}

bool TaskRun::waitEnded(std::chrono::milliseconds limit) {
  std::unique_lock guard(mutex);
  return changed.wait_for(guard, limit, [this] { return ended; });
}

namespace {

std::shared_ptr<TaskRun> runOf(tag_ThreadInfo* task) {
  if (task == nullptr)
    return nullptr;
  CThreadLock::Scope scope(coreLock());
  return task->run;
}

}  // namespace

int suspendTask(tag_ThreadInfo* task) {
  if (auto run = runOf(task))
    run->suspend();
  return 0;
}

int resumeTask(tag_ThreadInfo* task) {
  if (auto run = runOf(task))
    run->resume();
  return 0;
}

int releaseTask(tag_ThreadInfo* task) {
  if (auto run = runOf(task))
    run->release();
  return 0;
}

bool taskCheckpoint() {
  TaskRun* run = tlsRun;
  if (run == nullptr || !run->attention.load(std::memory_order_acquire))
    return false;
  std::unique_lock guard(run->mutex);
  if (run->suspendCount > 0 && !run->stopRequested) {
    run->parked = true;
    run->changed.notify_all();
    run->changed.wait(guard, [run] { return run->suspendCount == 0 || run->stopRequested; });
    run->parked = false;
  }
  return run->stopRequested;
}

bool waitTaskSuspended(tag_ThreadInfo* task, std::chrono::milliseconds limit) {
  auto run = runOf(task);
  if (!run)
    return false;
  std::unique_lock guard(run->mutex);
  return run->changed.wait_for(guard, limit, [&run] { return run->parked || run->ended; });
}

}  // namespace tavrel::os
