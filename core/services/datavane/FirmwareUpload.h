// Loading the logger's firmware: command 10, the logger's 0x84, then every 128-byte block in
// an upload frame until the logger confirms it with 0x83, then 0x8C three times and a final
// 0x83. The port's own reads wait; the waits between polls come from the timing.
#pragma once

#include <cstdint>
#include <span>

#include "LinkTiming.h"
#include "datalogger/IOPort.h"

namespace tavrel::core::datavane {

inline constexpr std::uint8_t kUploadReady = 0x84;
inline constexpr std::uint8_t kUploadBlock = 0x8B;
inline constexpr std::uint8_t kUploadAck = 0x83;
inline constexpr std::uint8_t kUploadEnd = 0x8C;
inline constexpr std::uint8_t kUploadAbort = 0x80;

struct UploadLimits {
  int readyTries = 9999;
  int readySilentPolls = 1000;
  std::uint32_t readyPollMs = 50;
  std::uint32_t readySilentMs = 100;
  std::uint32_t replyMs = 100;
  std::uint32_t replyPollMs = 10;
  // A logger that never confirms a block would hold the calculator for ever.
  int blockAttempts = 20;
  std::uint32_t finalReplyMs = 1000;
};

enum class UploadResult {
  kDone,
  kPortClosed,    // no logger, or it went away
  kNotReady,      // no 0x84: 0x80 was sent
  kBlockRefused,  // a block was never confirmed: 0x80 was sent
  kNotConfirmed,  // no 0x83 after the end marks
  kNoImage,       // the image file is missing or damaged: nothing was sent
};

UploadResult uploadFirmware(IOPort& port, std::span<const std::uint8_t> image, LinkTiming& timing,
                            const UploadLimits& limits = {});

}  // namespace tavrel::core::datavane
