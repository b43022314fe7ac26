#include "tavrel/statexport/link/ReceiveJob.h"

#include <utility>

#include "tavrel/statexport/link/LinkConnection.h"

namespace tavrel::statexport::link {

std::mutex& processReceiveLock() {
  static std::mutex lock;
  return lock;
}

ReceiveJob::ReceiveJob(IByteTransport& transport, ReceiveTiming timing, ReceiveJobEvents events)
    : transport_(transport), timing_(timing), events_(std::move(events)) {}

ReceiveJob::~ReceiveJob() {
  cancel();
}

void ReceiveJob::start() {
  if (started_.exchange(true)) {
    return;
  }
  running_ = true;
  worker_ = std::thread(&ReceiveJob::work, this);
}

void ReceiveJob::runHere() {
  if (started_.exchange(true)) {
    return;
  }
  running_ = true;
  work();
}

void ReceiveJob::cancel() {
  cancel_ = true;
  if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) {
    worker_.join();
  }
}

ReceiveOutcome ReceiveJob::outcome() const {
  std::lock_guard<std::mutex> guard(resultLock_);
  return result_.outcome;
}

std::vector<std::uint8_t> ReceiveJob::takeData() {
  std::lock_guard<std::mutex> guard(resultLock_);
  return std::move(result_.data);
}

std::string ReceiveJob::statusText() const {
  std::lock_guard<std::mutex> guard(resultLock_);
  return statusText_;
}

void ReceiveJob::work() {
  ReceiveResult result;
  {
    std::lock_guard<std::mutex> receiving(processReceiveLock());
    if (!transport_.isPresent()) {
      postStatus("Calculator Not Connected");
      result.outcome = ReceiveOutcome::kNoCalculator;
    } else {
      LinkConnection link(transport_);
      if (!link.connect()) {
        postStatus("Could not Connect to Calculator");
        result.outcome = ReceiveOutcome::kCouldNotConnect;
      } else {
        result = BlockReceiver(
                     link, timing_, [this](const std::string& text) { postStatus(text); }, cancel_)
                     .run();
      }
      link.disconnect();
    }
  }
  {
    std::lock_guard<std::mutex> guard(resultLock_);
    result_ = std::move(result);
  }
  running_ = false;
  if (events_.finished) {
    events_.finished();
  }
}

void ReceiveJob::postStatus(const std::string& text) {
  {
    std::lock_guard<std::mutex> guard(resultLock_);
    statusText_ = text.substr(0, kStatusCapacity);
  }
  if (events_.newStatus) {
    events_.newStatus(text.substr(0, kStatusCapacity));
  }
  if (timing_.statusPause.count() > 0) {
    std::this_thread::sleep_for(timing_.statusPause);
  }
}

}  // namespace tavrel::statexport::link
