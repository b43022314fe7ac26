// Bytes and limits of the block protocol in which the calculator sends a folio image.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace tavrel::statexport::link {

inline constexpr std::uint8_t kBlock128 = 0x01;
inline constexpr std::uint8_t kBlock1K = 0x02;
inline constexpr std::uint8_t kEndOfTransmission = 0x04;
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;  // also the start request in checksum mode
inline constexpr std::uint8_t kCancel = 0x18;
inline constexpr std::uint8_t kStartCrc = 0x44;

inline constexpr int kStartAttempts = 16;
inline constexpr int kDuplicateAllowance = 25;
inline constexpr std::size_t kDataGrowth = 10240;
// The calculator's whole memory is half a mebibyte; a folio image can never be larger than
// twice that, and a sender that keeps going past it is not sending a folio.
inline constexpr std::size_t kMaxImageSize = 1024 * 1024;

// How long the receive waits at each step. The defaults are the calculator's; tests shorten them.
struct ReceiveTiming {
  std::chrono::milliseconds statusPause{3000};       // after every status text
  std::chrono::milliseconds headerWait{2000};        // for a block's first byte
  std::chrono::milliseconds blockWait{1000};         // for the rest of a block
  std::chrono::milliseconds secondCancelWait{1000};  // for the 0x18 that confirms a cancel
  std::chrono::milliseconds purgeQuiet{1500};        // quiet line that ends a purge
};

}  // namespace tavrel::statexport::link
