#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "Macro.h"
#include "tavrel/command/ICommandDispatcher.h"

namespace tavrel::macro {

// Plays a macro on a worker thread: each line through the dispatcher after its recorded
// gap. Keys the macro left pressed, because it was stopped or recorded that way, are
// released when it ends.
class CMacroPlayer {
 public:
  CMacroPlayer() = default;
  CMacroPlayer(const CMacroPlayer&) = delete;
  CMacroPlayer& operator=(const CMacroPlayer&) = delete;
  ~CMacroPlayer() { stop(); }

  // Stops a macro that plays, then plays this one (nothing when a line of the playing macro
  // asks).
  void play(Macro macro, ICommandDispatcher& dispatcher);
  // Ends the playing macro and returns once it has released its keys and no line of it
  // runs any more (from a line of the macro itself it only asks it to end). Nothing
  // happens when none plays.
  void stop();

 private:
  void run(const Macro& macro, ICommandDispatcher& dispatcher);

  std::mutex controlMutex_;  // one play or stop at a time
  std::thread worker_;
  std::atomic<std::thread::id> workerId_;  // while the worker runs; read without controlMutex_
  std::mutex stateMutex_;
  std::condition_variable stopRequested_;
  bool stopping_ = false;
};

}  // namespace tavrel::macro
