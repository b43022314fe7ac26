#include "FirmwareUpload.h"

#include <algorithm>
#include <vector>

#include "LinkFraming.h"
#include "LoggerCommands.h"

namespace tavrel::core::datavane {
namespace {

constexpr std::size_t kChunk = 256;

bool sendAll(IOPort& port, std::span<const std::uint8_t> bytes) {
  return port.write(bytes.data(), bytes.size()) == bytes.size();
}

bool sendByte(IOPort& port, std::uint8_t byte) {
  return sendAll(port, {&byte, 1});
}

// Throws away what came before a request, so that a late reply is never taken for the
// answer to the next one.
void drain(IOPort& port) {
  std::uint8_t sink[kChunk];
  for (std::size_t waiting = port.available(); waiting > 0; waiting = port.available()) {
    if (port.read(sink, std::min(waiting, kChunk)) == 0) {
      break;
    }
  }
}

// The first byte within the time given, or -1.
int replyWithin(IOPort& port, std::uint32_t limitMs, std::uint32_t pollMs, LinkTiming& timing) {
  for (std::uint32_t waited = 0;; waited += pollMs) {
    if (port.available() > 0) {
      std::uint8_t byte = 0;
      if (port.read(&byte, 1) == 1) {
        return byte;
      }
    }
    if (waited >= limitMs || !port.isOpen()) {
      return -1;
    }
    timing.sleepMs(pollMs);
  }
}

bool waitForReady(IOPort& port, LinkTiming& timing, const UploadLimits& limits) {
  int silent = 0;
  for (int tries = 0; tries < limits.readyTries && port.isOpen(); ++tries) {
    timing.sleepMs(limits.readyPollMs);
    const std::size_t waiting = port.available();
    if (waiting == 0) {
      if (++silent >= limits.readySilentPolls) {
        return false;
      }
      timing.sleepMs(limits.readySilentMs);
      continue;
    }
    std::uint8_t bytes[kChunk];
    const std::size_t got = port.read(bytes, std::min(waiting, kChunk));
    if (std::find(bytes, bytes + got, kUploadReady) != bytes + got) {
      return true;
    }
  }
  return false;
}

UploadResult abortUpload(IOPort& port, UploadResult why) {
  if (!port.isOpen()) {
    return UploadResult::kPortClosed;
  }
  sendByte(port, kUploadAbort);
  return why;
}

}  // namespace

UploadResult uploadFirmware(IOPort& port, std::span<const std::uint8_t> image, LinkTiming& timing,
                            const UploadLimits& limits) {
  if (!port.isOpen()) {
    return UploadResult::kPortClosed;
  }
  drain(port);
  const auto start = uploadStartPayload(image);
  if (!sendAll(port, encodePacket(kStartUpload, start))) {
    return UploadResult::kPortClosed;
  }
  if (!waitForReady(port, timing, limits)) {
    return abortUpload(port, UploadResult::kNotReady);
  }
  for (std::size_t offset = 0; offset < image.size(); offset += kUploadBlockBytes) {
    const std::vector<std::uint8_t> frame = uploadFrame(static_cast<std::uint32_t>(offset), image);
    bool confirmed = false;
    for (int attempt = 0; attempt < limits.blockAttempts && !confirmed; ++attempt) {
      if (attempt > 0) {
        drain(port);
      }
      if (!sendByte(port, kUploadBlock) || !sendAll(port, frame)) {
        return UploadResult::kPortClosed;
      }
      confirmed = replyWithin(port, limits.replyMs, limits.replyPollMs, timing) == kUploadAck;
    }
    if (!confirmed) {
      return abortUpload(port, UploadResult::kBlockRefused);
    }
  }
  drain(port);
  for (int i = 0; i < 3; ++i) {
    if (!sendByte(port, kUploadEnd)) {
      return UploadResult::kPortClosed;
    }
  }
  for (std::uint32_t waited = 0; waited < limits.finalReplyMs; waited += limits.replyMs) {
    const int reply = replyWithin(port, limits.replyMs, limits.replyPollMs, timing);
    if (reply == kUploadAck) {
      return UploadResult::kDone;
    }
    if (!port.isOpen()) {
      return UploadResult::kPortClosed;
    }
  }
  return UploadResult::kNotConfirmed;
}

}  // namespace tavrel::core::datavane
