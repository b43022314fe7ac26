// Receives one folio image from the calculator, block by block, over an open connection.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tavrel/statexport/link/LinkConnection.h"
#include "tavrel/statexport/link/Protocol.h"

namespace tavrel::statexport::link {

enum class ReceiveOutcome {
  kReceived,         // the image arrived whole
  kSenderCancelled,  // the calculator sent a double 0x18
  kCancelled,        // the user cancelled
  kFailed,           // no answer, too many bad blocks or repeats, or too much data
  kNoCalculator,     // "Calculator Not Connected"
  kCouldNotConnect,  // "Could not Connect to Calculator"
};

struct ReceiveResult {
  ReceiveOutcome outcome = ReceiveOutcome::kFailed;
  std::vector<std::uint8_t> data;  // empty unless outcome is kReceived
};

class BlockReceiver {
 public:
  // Called with each status text; the receive goes on when it returns (the receive job
  // pauses there so that the user can read the text).
  using StatusSink = std::function<void(const std::string&)>;

  BlockReceiver(LinkConnection& link, const ReceiveTiming& timing, StatusSink status,
                const std::atomic<bool>& cancel);

  ReceiveResult run();

 private:
  enum class PhaseEnd { kEndOfTransmission, kSenderCancelled, kCancelled, kExhausted, kFailed };
  enum class BlockEnd { kGood, kBad, kFailed };

  PhaseEnd receiveBlocks(std::optional<std::uint8_t> startRequest);
  BlockEnd receiveBlock(std::uint8_t header);
  bool checkMatches(const std::uint8_t* data, std::size_t size, const std::uint8_t* check) const;
  bool appendData(const std::uint8_t* data, std::size_t size);
  void send(std::uint8_t byte);
  void postStatus(const std::string& text);
  void purge();
  bool cancelled() const { return cancel_.load(); }

  LinkConnection& link_;
  ReceiveTiming timing_;
  StatusSink status_;
  const std::atomic<bool>& cancel_;

  std::vector<std::uint8_t> data_;
  std::uint8_t expectedBlock_ = 1;
  int duplicateAllowance_ = kDuplicateAllowance;
  std::optional<std::uint8_t> lastStartRequest_;
  std::optional<bool> crcMode_;  // fixed by the first block
};

}  // namespace tavrel::statexport::link
