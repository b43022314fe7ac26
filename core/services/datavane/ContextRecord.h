// The application's context record in emulated RAM (at D0 when the ROM calls it). The ROM
// writes the channel settings; everything from the last command on is the application's.
// Offsets are in nibbles from the record's start; README.md lists the layout.
#pragma once

#include <array>
#include <cstdint>

#include "LoggerCommands.h"

namespace tavrel::machine {
struct Machine;
}

namespace tavrel::core::datavane {

namespace layout {
inline constexpr std::uint32_t kChannelCount = 0;     // 1 nibble
inline constexpr std::uint32_t kChannelSettings = 1;  // 4 × (enable 1, sensor 2)
inline constexpr std::uint32_t kLastCommand = 13;     // 2
inline constexpr std::uint32_t kStartAddress = 15;    // 5
inline constexpr std::uint32_t kDisplayMode = 20;     // 1
inline constexpr std::uint32_t kFlags = 21;           // 1
inline constexpr std::uint32_t kState = 22;           // 1
inline constexpr std::uint32_t kHeldKey = 23;         // 2
inline constexpr std::uint32_t kCurrentChannel = 25;  // 1
inline constexpr std::uint32_t kTimeBase = 26;        // 8
inline constexpr std::uint32_t kLastKeepAlive = 34;   // 8
inline constexpr std::uint32_t kCursorX = 42;         // 2
inline constexpr std::uint32_t kCursorY = 44;         // 2
inline constexpr std::uint32_t kMarkerX = 46;         // 2
inline constexpr std::uint32_t kMarkerY = 48;         // 2
inline constexpr std::uint32_t kView = 50;            // 4 × 4
inline constexpr std::uint32_t kStoredCount = 66;     // 4
inline constexpr std::uint32_t kExportIndex = 70;     // 4
inline constexpr std::uint32_t kSampleCount = 74;     // 4
inline constexpr std::uint32_t kSampleHead = 78;      // 2
inline constexpr std::uint32_t kSamples = 80;         // kSampleSlots × kSampleNibbles
inline constexpr std::uint32_t kSampleSlots = 128;
inline constexpr std::uint32_t kSampleNibbles = 22;  // time 6, then 4 readings × 4
inline constexpr std::uint32_t kRecordNibbles = kSamples + kSampleSlots * kSampleNibbles;
}  // namespace layout

// Bits of the flags nibble.
inline constexpr std::uint8_t kFlagDelta = 1;     // labels show differences to the marker
inline constexpr std::uint8_t kFlagExport = 2;    // an export is running
inline constexpr std::uint8_t kFlagTimeBase = 4;  // the time base runs
inline constexpr std::uint8_t kFlagPending = 8;   // a sample waits to be stored
// Bits of the state nibble.
inline constexpr std::uint8_t kStateAcquiring = 1;  // the logger was started
inline constexpr std::uint8_t kStateKeptAlive = 2;  // command 1 was sent at lastKeepAlive

inline constexpr std::uint8_t kNoKey = 0xFF;
inline constexpr int kViewValues = 4;

// The record without its sample slots, as the application works on it.
struct Context {
  std::uint8_t channelCount = 0;
  std::array<ChannelSetting, kChannels> channels{};
  std::uint8_t lastCommand = 0;
  std::uint32_t startAddress = 0;
  std::uint8_t displayMode = 0;  // 3 bits; bits 1-2 choose the view value the keys change
  std::uint8_t flags = 0;
  std::uint8_t state = 0;
  std::uint8_t heldKey = kNoKey;  // the key already acted on, until it is released
  std::uint8_t currentChannel = 0;
  std::uint32_t timeBase = 0;
  std::uint32_t lastKeepAlive = 0;
  std::uint8_t cursorX = 0;
  std::uint8_t cursorY = 0;
  std::uint8_t markerX = 0;
  std::uint8_t markerY = 0;
  std::array<std::uint16_t, kViewValues> view{};
  std::uint16_t storedCount = 0;
  std::uint16_t exportIndex = 0;
  std::uint16_t sampleCount = 0;  // received, saturating
  std::uint8_t sampleHead = 0;    // the slot the next sample goes to

  int viewMode() const { return (displayMode >> 1) & 3; }
  std::uint32_t samplesKept() const {
    return sampleCount < layout::kSampleSlots ? sampleCount : layout::kSampleSlots;
  }
};

struct Sample {
  std::uint32_t timeMs = 0;  // since the time base, 24 bits
  std::array<std::uint16_t, kChannels> raw{};
};

// The record at address: read and written through the machine's memory routines.
class ContextRecord {
 public:
  ContextRecord(machine::Machine& m, std::uint32_t address) : m_(m), address_(address) {}

  Context load() const;
  void store(const Context& context);

  // Sample k of those kept, 0 the oldest.
  Sample sample(const Context& context, std::uint32_t k) const;
  // Appends a sample to the ring, moving the head and count in context (store() writes them).
  void appendSample(Context& context, const Sample& sample);

 private:
  std::uint32_t read(std::uint32_t offset, int nibbles) const;
  void write(std::uint32_t offset, std::uint32_t value, int nibbles);

  machine::Machine& m_;
  std::uint32_t address_;
};

}  // namespace tavrel::core::datavane
