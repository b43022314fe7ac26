// Runs a receive job over the near end of a terminal pair and records what it reports.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "LinkTestSupport.h"
#include "tavrel/statexport/link/ReceiveJob.h"
#include "tavrel/statexport/link/SerialTransport.h"

namespace tavrel::statexport::link::test {

// Short waits so that a silent or slow sender costs little; the status pause is left out.
ReceiveTiming quickTiming();

class ReceiveHarness {
 public:
  explicit ReceiveHarness(const std::string& devicePath, ReceiveTiming timing = quickTiming());

  void start() { job_.start(); }
  // Waits for the finished event; false when it did not come within the limit.
  bool waitFinished(milliseconds limit = kGenerous);
  std::vector<std::string> statuses() const;
  ReceiveJob& job() { return job_; }

 private:
  SerialTransport transport_;
  mutable std::mutex lock_;
  std::condition_variable changed_;
  std::vector<std::string> statuses_;
  bool finished_ = false;
  ReceiveJob job_;
};

// The status texts of attempts from..to of one start phase.
std::vector<std::string> retryTexts(int from, int to);

}  // namespace tavrel::statexport::link::test
