// One receive of a folio image, shared between the receive dialog and its worker thread.
// The dialog connects to the two events, starts the worker and may cancel it; the events
// arrive on the worker thread, so a dialog forwards them to its own thread without waiting.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tavrel/statexport/link/BlockReceiver.h"
#include "tavrel/statexport/link/ByteTransport.h"
#include "tavrel/statexport/link/Protocol.h"

namespace tavrel::statexport::link {

struct ReceiveJobEvents {
  // A new status text (also kept in statusText()). Called while the receive holds the
  // process-wide receive lock, so it must not wait for the dialog's thread.
  std::function<void(const std::string&)> newStatus;
  // The worker has finished and released the lock; the result is ready.
  std::function<void()> finished;
};

class ReceiveJob {
 public:
  // The status buffer holds 99 characters and a terminator.
  static constexpr std::size_t kStatusCapacity = 99;

  ReceiveJob(IByteTransport& transport, ReceiveTiming timing, ReceiveJobEvents events);
  // Cancels a worker that is still running and waits for it.
  ~ReceiveJob();
  ReceiveJob(const ReceiveJob&) = delete;
  ReceiveJob& operator=(const ReceiveJob&) = delete;

  // Runs the worker on a thread of its own; a job runs at most once.
  void start();
  // Runs the worker on the calling thread (the command line has no dialog to keep alive).
  void runHere();
  // Sets the cancel flag and waits until the worker has let go of the receive lock. The
  // worker notices the flag at its next check, which can take a few seconds.
  void cancel();
  bool running() const { return running_; }

  ReceiveOutcome outcome() const;
  // The received image; empty unless outcome() is kReceived.
  std::vector<std::uint8_t> takeData();
  std::string statusText() const;

 private:
  void work();
  void postStatus(const std::string& text);

  IByteTransport& transport_;
  ReceiveTiming timing_;
  ReceiveJobEvents events_;
  std::atomic<bool> started_{false};
  std::atomic<bool> running_{false};
  std::atomic<bool> cancel_{false};
  std::thread worker_;
  mutable std::mutex resultLock_;
  ReceiveResult result_;
  std::string statusText_;
};

// Held by a worker for its whole receive: one receive at a time in the process.
std::mutex& processReceiveLock();

}  // namespace tavrel::statexport::link
