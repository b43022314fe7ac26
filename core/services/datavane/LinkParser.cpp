#include "LinkParser.h"

#include "LinkFraming.h"

namespace tavrel::core::datavane {
namespace {

bool isHigh(std::uint8_t byte) {
  return (byte & 0x80) != 0;
}

// The data byte count of a packed length, or nothing when no count packs to that length.
std::optional<std::size_t> unpackedCount(std::size_t length) {
  const std::size_t n = length * 7 / 8;
  if (packedLength(n) != length) {
    return std::nullopt;
  }
  return n;
}

}  // namespace

void LinkParser::reset() {
  state_ = State::kIdle;
  body_.clear();
}

std::optional<LinkEvent> LinkParser::startOver(std::uint8_t byte) {
  body_.clear();
  if (byte == kPacketStart0) {
    state_ = State::kStart;
  } else if (isHigh(byte)) {
    pending_ = byte;
    state_ = State::kStatus;
  } else {
    state_ = State::kIdle;
  }
  return std::nullopt;
}

std::optional<LinkEvent> LinkParser::reject(std::uint8_t byte) {
  ++rejected_;
  return startOver(byte);
}

std::optional<LinkEvent> LinkParser::push(std::uint8_t byte) {
  switch (state_) {
    case State::kIdle:
      return startOver(byte);
    case State::kStatus: {
      if (!isHigh(byte)) {
        state_ = State::kIdle;
        return LinkEvent{LinkEvent::Kind::kStatus, pending_, byte, {}};
      }
      LinkEvent lone{LinkEvent::Kind::kSignal, pending_, 0, {}};
      startOver(byte);
      return lone;
    }
    case State::kStart:
      if (byte == kPacketStart1) {
        state_ = State::kCommand;
        return std::nullopt;
      }
      if (!isHigh(byte)) {
        state_ = State::kIdle;
        return LinkEvent{LinkEvent::Kind::kStatus, kPacketStart0, byte, {}};
      }
      return startOver(byte);
    case State::kCommand:
      if (isHigh(byte)) {
        return reject(byte);
      }
      command_ = byte;
      state_ = State::kLengthHigh;
      return std::nullopt;
    case State::kLengthHigh:
      if (isHigh(byte)) {
        return reject(byte);
      }
      length_ = std::size_t{byte} << 7;
      state_ = State::kLengthLow;
      return std::nullopt;
    case State::kLengthLow: {
      if (isHigh(byte)) {
        return reject(byte);
      }
      length_ |= byte;
      const bool raw = isRawCommand(command_) || length_ == 0;
      if (length_ > packedLength(kMaxPayload) || (!raw && !unpackedCount(length_))) {
        ++rejected_;
        state_ = State::kIdle;
        return std::nullopt;
      }
      state_ = length_ == 0 ? State::kCheck : State::kBody;
      return std::nullopt;
    }
    case State::kBody:
      if (!isRawCommand(command_) && isHigh(byte)) {
        return reject(byte);
      }
      body_.push_back(byte);
      if (body_.size() == length_) {
        state_ = State::kCheck;
      }
      return std::nullopt;
    case State::kCheck:
      return finish(byte);
  }
  return std::nullopt;
}

std::optional<LinkEvent> LinkParser::finish(std::uint8_t check) {
  state_ = State::kIdle;
  if (check != packetChecksum(command_, length_, body_)) {
    ++rejected_;
    body_.clear();
    return std::nullopt;
  }
  LinkEvent event{LinkEvent::Kind::kPacket, command_, 0, {}};
  if (isRawCommand(command_) || length_ == 0) {
    event.payload = std::move(body_);
  } else {
    event.payload = unpackMsbFirst(body_, *unpackedCount(length_));
  }
  if (event.payload.size() > kMaxPayload) {
    ++rejected_;
    event.payload.clear();
    body_.clear();
    return std::nullopt;
  }
  body_.clear();
  return event;
}

}  // namespace tavrel::core::datavane
