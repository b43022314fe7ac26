#include "ContextRecord.h"

#include "Memory.h"

namespace tavrel::core::datavane {

std::uint32_t ContextRecord::read(std::uint32_t offset, int nibbles) const {
  return machine::readNibbles(m_, address_ + offset, nibbles);
}

void ContextRecord::write(std::uint32_t offset, std::uint32_t value, int nibbles) {
  machine::writeNibbles(m_, address_ + offset, value, nibbles);
}

Context ContextRecord::load() const {
  using namespace layout;
  Context c;
  c.channelCount = static_cast<std::uint8_t>(read(kChannelCount, 1));
  for (int i = 0; i < kChannels; ++i) {
    c.channels[i].enable = static_cast<std::uint8_t>(read(layout::kChannelSettings + 3 * i, 1));
    c.channels[i].sensor = static_cast<std::uint8_t>(read(layout::kChannelSettings + 3 * i + 1, 2));
  }
  c.lastCommand = static_cast<std::uint8_t>(read(kLastCommand, 2));
  c.startAddress = read(kStartAddress, 5);
  c.displayMode = static_cast<std::uint8_t>(read(kDisplayMode, 1) & 7);
  c.flags = static_cast<std::uint8_t>(read(kFlags, 1));
  c.state = static_cast<std::uint8_t>(read(kState, 1));
  c.heldKey = static_cast<std::uint8_t>(read(kHeldKey, 2));
  c.currentChannel = static_cast<std::uint8_t>(read(kCurrentChannel, 1) % kChannels);
  c.timeBase = read(kTimeBase, 8);
  c.lastKeepAlive = read(kLastKeepAlive, 8);
  c.cursorX = static_cast<std::uint8_t>(read(kCursorX, 2));
  c.cursorY = static_cast<std::uint8_t>(read(kCursorY, 2));
  c.markerX = static_cast<std::uint8_t>(read(kMarkerX, 2));
  c.markerY = static_cast<std::uint8_t>(read(kMarkerY, 2));
  for (int i = 0; i < kViewValues; ++i) {
    c.view[i] = static_cast<std::uint16_t>(read(kView + 4 * i, 4));
  }
  c.storedCount = static_cast<std::uint16_t>(read(kStoredCount, 4));
  c.exportIndex = static_cast<std::uint16_t>(read(kExportIndex, 4));
  c.sampleCount = static_cast<std::uint16_t>(read(kSampleCount, 4));
  c.sampleHead = static_cast<std::uint8_t>(read(kSampleHead, 2) % kSampleSlots);
  return c;
}

void ContextRecord::store(const Context& c) {
  using namespace layout;
  write(kLastCommand, c.lastCommand, 2);
  write(kStartAddress, c.startAddress, 5);
  write(kDisplayMode, c.displayMode & 7u, 1);
  write(kFlags, c.flags, 1);
  write(kState, c.state, 1);
  write(kHeldKey, c.heldKey, 2);
  write(kCurrentChannel, c.currentChannel, 1);
  write(kTimeBase, c.timeBase, 8);
  write(kLastKeepAlive, c.lastKeepAlive, 8);
  write(kCursorX, c.cursorX, 2);
  write(kCursorY, c.cursorY, 2);
  write(kMarkerX, c.markerX, 2);
  write(kMarkerY, c.markerY, 2);
  for (int i = 0; i < kViewValues; ++i) {
    write(kView + 4 * i, c.view[i], 4);
  }
  write(kStoredCount, c.storedCount, 4);
  write(kExportIndex, c.exportIndex, 4);
  write(kSampleCount, c.sampleCount, 4);
  write(kSampleHead, c.sampleHead, 2);
  // The sensors may come from the logger; the rest of the ROM's settings stay as written.
  for (int i = 0; i < kChannels; ++i) {
    write(layout::kChannelSettings + 3 * i + 1, c.channels[i].sensor, 2);
  }
}

Sample ContextRecord::sample(const Context& c, std::uint32_t k) const {
  using namespace layout;
  const std::uint32_t kept = c.samplesKept();
  const std::uint32_t slot = (c.sampleHead + kSampleSlots - kept + k) % kSampleSlots;
  const std::uint32_t base = kSamples + slot * kSampleNibbles;
  Sample s;
  s.timeMs = read(base, 6);
  for (int i = 0; i < kChannels; ++i) {
    s.raw[i] = static_cast<std::uint16_t>(read(base + 6 + 4 * i, 4));
  }
  return s;
}

void ContextRecord::appendSample(Context& c, const Sample& s) {
  using namespace layout;
  const std::uint32_t base = kSamples + c.sampleHead * kSampleNibbles;
  write(base, s.timeMs < 0xFFFFFF ? s.timeMs : 0xFFFFFF, 6);
  for (int i = 0; i < kChannels; ++i) {
    write(base + 6 + 4 * i, s.raw[i], 4);
  }
  c.sampleHead = static_cast<std::uint8_t>((c.sampleHead + 1) % kSampleSlots);
  if (c.sampleCount < 0xFFFF) {
    ++c.sampleCount;
  }
}

}  // namespace tavrel::core::datavane
