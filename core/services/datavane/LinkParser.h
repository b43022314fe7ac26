// Reads the logger's byte stream: packets in the link framing, two-byte status messages (a
// byte with the top bit set, then a 7-bit value) and lone status bytes. Bytes that fit none
// of these are dropped; a packet with a bad length or checksum is rejected whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tavrel::core::datavane {

struct LinkEvent {
  enum class Kind { kPacket, kStatus, kSignal };
  Kind kind;
  std::uint8_t code;                  // the command, or the status byte
  std::uint8_t value = 0;             // the status value
  std::vector<std::uint8_t> payload;  // a packet's data, unpacked
};

class LinkParser {
 public:
  // Longer packets are rejected without keeping their bytes.
  static constexpr std::size_t kMaxPayload = 1024;

  // Takes one byte; gives an event when the byte completes one.
  std::optional<LinkEvent> push(std::uint8_t byte);
  void reset();
  // Packets rejected so far.
  std::size_t rejected() const { return rejected_; }

 private:
  enum class State { kIdle, kStatus, kStart, kCommand, kLengthHigh, kLengthLow, kBody, kCheck };

  std::optional<LinkEvent> startOver(std::uint8_t byte);
  std::optional<LinkEvent> reject(std::uint8_t byte);
  std::optional<LinkEvent> finish(std::uint8_t check);

  State state_ = State::kIdle;
  std::uint8_t pending_ = 0;  // the status byte waiting for its value
  std::uint8_t command_ = 0;
  std::size_t length_ = 0;  // encoded length
  std::vector<std::uint8_t> body_;
  std::size_t rejected_ = 0;
};

}  // namespace tavrel::core::datavane
