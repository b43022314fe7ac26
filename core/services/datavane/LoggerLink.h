// The application's end of the logger link: the data-logger port, made on first use, with
// the framing on the way out and the parser on the way in.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "LinkParser.h"
#include "LinkTiming.h"
#include "datalogger/IOPort.h"

namespace tavrel::core::datavane {

using PortFactory = std::function<std::unique_ptr<IOPort>()>;

class LoggerLink {
 public:
  // A closed port is looked for again at most this often.
  static constexpr std::uint32_t kReopenIntervalMs = 1000;

  LoggerLink(PortFactory factory, LinkTiming& timing);

  // Makes the port on first use; looks for the logger again when it was lost a while ago.
  bool ensureOpen();
  bool isOpen() const;

  // Sends a packet; false when the port is closed or took fewer bytes.
  bool sendPacket(std::uint8_t command, std::span<const std::uint8_t> payload);
  bool sendBytes(std::span<const std::uint8_t> bytes);

  // What the logger sent since the last poll, as events (one bounded read).
  std::vector<LinkEvent> poll();
  // Forgets a half-read packet.
  void reset() { parser_.reset(); }

  // The port itself, for the firmware upload's byte-by-byte exchange; null before first use.
  IOPort* port() { return port_.get(); }

 private:
  PortFactory factory_;
  LinkTiming& timing_;
  std::unique_ptr<IOPort> port_;
  std::uint32_t lastLook_ = 0;
  LinkParser parser_;
};

}  // namespace tavrel::core::datavane
