#include "tavrel/statexport/link/BlockReceiver.h"

#include <array>
#include <cstdio>
#include <utility>

#include "tavrel/statexport/link/BlockCheck.h"

namespace tavrel::statexport::link {

namespace {

constexpr std::size_t kLargestBlock = 1024;
// Block number, its complement and a two-byte CRC around the data.
constexpr std::size_t kLargestRest = kLargestBlock + 4;

std::string formatted(const char* format, int number) {
  std::array<char, 64> text{};
  std::snprintf(text.data(), text.size(), format, number);
  return text.data();
}

}  // namespace

BlockReceiver::BlockReceiver(LinkConnection& link, const ReceiveTiming& timing, StatusSink status,
                             const std::atomic<bool>& cancel)
    : link_(link), timing_(timing), status_(std::move(status)), cancel_(cancel) {}

ReceiveResult BlockReceiver::run() {
  if (cancelled()) {
    return {ReceiveOutcome::kCancelled, {}};
  }
  data_.reserve(kDataGrowth);
  PhaseEnd end = receiveBlocks(kStartCrc);
  // A sender that never answered the CRC request may still speak checksum mode.
  if (end == PhaseEnd::kExhausted && !crcMode_) {
    end = receiveBlocks(kNak);
  }
  switch (end) {
    case PhaseEnd::kEndOfTransmission:
      purge();
      send(kAck);
      data_.shrink_to_fit();
      return {ReceiveOutcome::kReceived, std::move(data_)};
    case PhaseEnd::kSenderCancelled:
      purge();
      send(kAck);
      return {ReceiveOutcome::kSenderCancelled, {}};
    case PhaseEnd::kCancelled:
      return {ReceiveOutcome::kCancelled, {}};
    case PhaseEnd::kExhausted:
    case PhaseEnd::kFailed:
      break;
  }
  purge();
  for (int i = 0; i < 3; ++i) {
    send(kCancel);
  }
  return {ReceiveOutcome::kFailed, {}};
}

BlockReceiver::PhaseEnd BlockReceiver::receiveBlocks(std::optional<std::uint8_t> startRequest) {
  for (int attempt = 1; attempt <= kStartAttempts; ++attempt) {
    if (cancelled()) {
      return PhaseEnd::kCancelled;
    }
    if (attempt > 1) {
      postStatus(formatted("Retry %i...", attempt));
    }
    if (startRequest) {
      send(*startRequest);
      lastStartRequest_ = startRequest;
    }
    const std::uint8_t header = link_.readByte(timing_.headerWait);
    if (header == kBlock128 || header == kBlock1K) {
      if (receiveBlock(header) == BlockEnd::kFailed) {
        return PhaseEnd::kFailed;
      }
      if (cancelled()) {
        return PhaseEnd::kCancelled;
      }
      // After a block the sender drives the transfer: no more start requests, and the
      // attempts count afresh.
      startRequest.reset();
      attempt = 0;
    } else if (header == kEndOfTransmission) {
      return PhaseEnd::kEndOfTransmission;
    } else if (header == kCancel && link_.readByte(timing_.secondCancelWait) == kCancel) {
      return PhaseEnd::kSenderCancelled;
    }
  }
  return PhaseEnd::kExhausted;
}

BlockReceiver::BlockEnd BlockReceiver::receiveBlock(std::uint8_t header) {
  if (!crcMode_) {
    crcMode_ = lastStartRequest_ == kStartCrc;
  }
  const std::size_t size = header == kBlock128 ? 128 : kLargestBlock;
  const std::size_t rest = size + (*crcMode_ ? 4 : 3);
  std::array<std::uint8_t, kLargestRest> block{};
  const std::size_t got = link_.readBytes(block.data(), rest, timing_.blockWait);

  const std::uint8_t number = block[0];
  const std::uint8_t* data = block.data() + 2;
  const bool repeat = number == static_cast<std::uint8_t>(expectedBlock_ - 1);
  const bool good = got == rest && block[1] == static_cast<std::uint8_t>(255 - number) &&
                    (number == expectedBlock_ || repeat) && checkMatches(data, size, data + size);
  if (!good) {
    purge();
    send(kNak);
    return BlockEnd::kBad;
  }
  postStatus(formatted("Received Packet# %i...", number));
  if (repeat) {
    if (--duplicateAllowance_ < 1) {
      return BlockEnd::kFailed;
    }
  } else {
    if (!appendData(data, size)) {
      return BlockEnd::kFailed;
    }
    ++expectedBlock_;
    duplicateAllowance_ = kDuplicateAllowance;
  }
  send(kAck);
  return BlockEnd::kGood;
}

bool BlockReceiver::checkMatches(const std::uint8_t* data, std::size_t size,
                                 const std::uint8_t* check) const {
  if (*crcMode_) {
    const std::uint16_t crc = crc16Kermit(data, size);
    return check[0] == (crc >> 8) && check[1] == (crc & 0xFF);
  }
  return check[0] == checksum8(data, size);
}

bool BlockReceiver::appendData(const std::uint8_t* data, std::size_t size) {
  if (data_.size() + size > kMaxImageSize) {
    return false;
  }
  if (data_.size() + size > data_.capacity()) {
    data_.reserve(data_.capacity() + kDataGrowth);
  }
  data_.insert(data_.end(), data, data + size);
  return true;
}

void BlockReceiver::send(std::uint8_t byte) {
  link_.writeBytes(&byte, 1);
}

void BlockReceiver::postStatus(const std::string& text) {
  if (status_) {
    status_(text);
  }
}

void BlockReceiver::purge() {
  link_.purge(timing_.purgeQuiet, &cancel_);
}

}  // namespace tavrel::statexport::link
