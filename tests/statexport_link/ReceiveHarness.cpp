#include "ReceiveHarness.h"

namespace tavrel::statexport::link::test {

ReceiveTiming quickTiming() {
  ReceiveTiming timing;
  timing.statusPause = milliseconds(0);
  timing.headerWait = milliseconds(40);
  timing.blockWait = milliseconds(2000);
  timing.secondCancelWait = milliseconds(2000);
  timing.purgeQuiet = milliseconds(100);
  return timing;
}

ReceiveHarness::ReceiveHarness(const std::string& devicePath, ReceiveTiming timing)
    : transport_(devicePath),
      job_(transport_, timing,
           {[this](const std::string& text) {
              std::lock_guard<std::mutex> guard(lock_);
              statuses_.push_back(text);
            },
            [this] {
              {
                std::lock_guard<std::mutex> guard(lock_);
                finished_ = true;
              }
              changed_.notify_all();
            }}) {}

bool ReceiveHarness::waitFinished(milliseconds limit) {
  std::unique_lock<std::mutex> guard(lock_);
  return changed_.wait_for(guard, limit, [this] { return finished_; });
}

std::vector<std::string> ReceiveHarness::statuses() const {
  std::lock_guard<std::mutex> guard(lock_);
  return statuses_;
}

std::vector<std::string> retryTexts(int from, int to) {
  std::vector<std::string> texts;
  for (int attempt = from; attempt <= to; ++attempt) {
    texts.push_back("Retry " + std::to_string(attempt) + "...");
  }
  return texts;
}

}  // namespace tavrel::statexport::link::test
