#include "LoggerLink.h"

#include "LinkFraming.h"

namespace tavrel::core::datavane {
namespace {
constexpr std::size_t kPollBytes = 1104;
}

LoggerLink::LoggerLink(PortFactory factory, LinkTiming& timing)
    : factory_(std::move(factory)), timing_(timing) {}

bool LoggerLink::ensureOpen() {
  if (!port_) {
    port_ = factory_();
    lastLook_ = timing_.nowMs();
  } else if (!port_->isOpen() && timing_.nowMs() - lastLook_ >= kReopenIntervalMs) {
    port_->reopen();
    parser_.reset();
    lastLook_ = timing_.nowMs();
  }
  return isOpen();
}

bool LoggerLink::isOpen() const {
  return port_ && port_->isOpen();
}

bool LoggerLink::sendBytes(std::span<const std::uint8_t> bytes) {
  if (!isOpen() || bytes.empty()) {
    return false;
  }
  return port_->write(bytes.data(), bytes.size()) == bytes.size();
}

bool LoggerLink::sendPacket(std::uint8_t command, std::span<const std::uint8_t> payload) {
  // Written as the application keeps its messages: start bytes, command, payload.
  std::vector<std::uint8_t> message{kPacketStart0, kPacketStart1, command};
  message.insert(message.end(), payload.begin(), payload.end());
  return sendBytes(encodeMessage(message));
}

std::vector<LinkEvent> LoggerLink::poll() {
  std::vector<LinkEvent> events;
  if (!isOpen()) {
    return events;
  }
  std::size_t waiting = port_->available();
  std::uint8_t chunk[kPollBytes];
  const std::size_t got = port_->read(chunk, waiting < kPollBytes ? waiting : kPollBytes);
  for (std::size_t i = 0; i < got; ++i) {
    if (auto event = parser_.push(chunk[i])) {
      events.push_back(std::move(*event));
    }
  }
  return events;
}

}  // namespace tavrel::core::datavane
