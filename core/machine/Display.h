// The LCD image (64 lines of 20 bytes) and the display side of the chipset: rebuilding the
// image from emulated memory, the disp0 header band, annunciators and contrast.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <span>

namespace tavrel::machine {

struct Machine;

inline constexpr int kLcdLines = 64;
inline constexpr int kLcdLineBytes = 20;          // 17 used, padded
inline constexpr int kLcdBytes = 1600;            // the whole block handed to the host
inline constexpr int kDisplayLineBytes = 17;      // 34 nibbles: 131 pixels in emulated memory
inline constexpr uint8_t kAnnunciatorBit = 0x08;  // byte 16, lines 0-5
inline constexpr uint8_t kSerialAnnunciator = 0x20;

// Kept beside the record: the image the host reads, and the lock its readers share.
struct LcdImage {
  std::array<uint8_t, kLcdBytes> bytes{};
  std::mutex lock;
};

// Rebuilds the main and menu lines from emulated memory, then calls the host's display hook.
void refreshLcd(Machine& m);
// Copies the header band from disp0 into the top lines; the host is not told.
void copyHeader(Machine& m);
void setAnnunciators(Machine& m, uint8_t value);
void setContrast(Machine& m, uint32_t value);
// Copies the image under the LCD lock, for readers on other tasks.
void copyLcdImage(Machine& m, std::span<uint8_t, kLcdBytes> out);

}  // namespace tavrel::machine
