#pragma once

#include <chrono>
#include <mutex>

#include "Macro.h"
#include "tavrel/command/ICommandObserver.h"

namespace tavrel::macro {

// Watches the dispatcher's lines and, while recording, keeps the "key_down" and "key_up"
// lines with their timing.
class CMacroRecorder final : public ICommandObserver {
 public:
  // Starts a new recording; one in progress is dropped.
  void start();
  // Ends the recording and gives what was recorded; false when none was in progress.
  bool stop(Macro& recorded);

  void lineExecuted(const std::u16string& name, const std::u16string& line) override;

 private:
  std::mutex mutex_;
  bool recording_ = false;
  Macro steps_;
  std::chrono::steady_clock::time_point last_;
};

}  // namespace tavrel::macro
