#include "Display.h"

#include <algorithm>
#include <cstring>

#include "Machine.h"
#include "MachineHost.h"
#include "MemoryMap.h"
#include "ProcessorAccess.h"

namespace tavrel::machine {
namespace {

constexpr int kPixelBytes = 16;            // pixels 0-127
constexpr uint8_t kLastPixelsMask = 0x07;  // pixels 128-130 in byte 16
constexpr int kAnnunciatorLines = 6;
// Annunciator byte bit shown on LCD lines 0-5.
constexpr int kAnnunciatorSourceBit[kAnnunciatorLines] = {5, 0, 1, 2, 3, 4};

// The bytes from the one holding `address` (as reads see it) to the end of its buffer: the
// display reads run on there without further page lookups.
std::span<const uint8_t> bytesFrom(const Machine& m, uint32_t address) {
  const uint32_t page = (address >> 12) & 0xFF;
  return imageBytes(m, m.vm.readPage[page] + ((address & 0xFFF) >> 1));
}

uint8_t* lcdLine(Machine& m, int line) {
  return m.lcd.bytes.data() + kLcdLineBytes * line;
}

void setLastPixels(uint8_t* line, uint8_t bits) {
  line[kPixelBytes] =
      static_cast<uint8_t>((line[kPixelBytes] & ~kLastPixelsMask) | (bits & kLastPixelsMask));
}

// Blank where the display area has run past the end of its buffer: there is nothing to show.
void blankLine(uint8_t* line) {
  std::memset(line, 0, kPixelBytes);
  setLastPixels(line, 0);
}

void copyLine(uint8_t* line, const uint8_t* source) {
  std::memcpy(line, source, kPixelBytes);
  setLastPixels(line, source[kPixelBytes]);
}

void copyShiftedLine(uint8_t* line, const uint8_t* source, uint32_t shift) {
  for (int k = 0; k < kPixelBytes; ++k) {
    line[k] = static_cast<uint8_t>((source[k] >> shift) | (source[k + 1] << (8 - shift)));
  }
  uint32_t last = source[kPixelBytes] >> shift;
  if (shift > 3)
    last |= source[kPixelBytes + 1] << (8 - shift);
  setLastPixels(line, static_cast<uint8_t>(last));
}

// Draws `count` lines from `first` on, reading from `source` (which ends with its buffer).
void drawLines(Machine& m, int first, int count, std::span<const uint8_t> source,
               std::size_t stride, uint32_t shift) {
  const std::size_t needed = kDisplayLineBytes + (shift > 3 ? 1 : 0);
  std::size_t offset = 0;
  for (int i = 0; i < count; ++i, offset += stride) {
    uint8_t* line = lcdLine(m, first + i);
    if (offset + needed > source.size()) {
      blankLine(line);
    } else if (shift == 0) {
      copyLine(line, source.data() + offset);
    } else {
      copyShiftedLine(line, source.data() + offset, shift);
    }
  }
}

}  // namespace

void refreshLcd(Machine& m) {
  {
    // The display registers and memory belong to the running firmware: read them between two
    // of its instructions, so a picture never mixes two frames.
    ProcessorHold hold(m);
    const VendelMachine& vm = m.vm;
    const int header = static_cast<int>(std::min<uint32_t>(vm.headerLines, kLcdLines));
    const int available = kLcdLines - header;
    const int menuWanted =
        vm.lineCount != 0 && vm.lineCount <= 63 ? 63 - static_cast<int>(vm.lineCount) : 0;
    const int menu = std::min(menuWanted, available);
    const int main = available - menu;
    std::lock_guard guard(m.lcd.lock);
    if (main > 0) {
      const uint32_t shift = vm.bitOffset & 7;
      const std::size_t stride =
          kDisplayLineBytes + (shift > 3 ? 1 : 0) + ((vm.lineOffset & 0xFFF) >> 1);
      drawLines(m, header, main, bytesFrom(m, vm.displayStart), stride, shift);
    }
    if (menu > 0) {
      drawLines(m, header + main, menu, bytesFrom(m, vm.menuStart), kDisplayLineBytes, 0);
    }
  }
  m.host->displayChanged();
}

void copyHeader(Machine& m) {
  const int header = static_cast<int>(std::min<uint32_t>(m.vm.headerLines, kLcdLines));
  const auto* disp0 = reinterpret_cast<const uint8_t*>(m.disp0);
  const std::size_t offset = std::min<std::size_t>(m.vm.headerOffset, kDisp0Bytes);
  std::lock_guard guard(m.lcd.lock);
  drawLines(m, 0, header, {disp0 + offset, kDisp0Bytes - offset}, kDisplayLineBytes, 0);
}

void setAnnunciators(Machine& m, uint8_t value) {
  if (value != m.vm.annunciators) {
    if (m.host->serialLinkOpen())
      value |= kSerialAnnunciator;
    m.vm.annunciators = value;
    std::lock_guard guard(m.lcd.lock);
    for (int line = 0; line < kAnnunciatorLines; ++line) {
      uint8_t& byte = lcdLine(m, line)[kPixelBytes];
      const bool on = (value & 0x7F) != 0 && ((value >> kAnnunciatorSourceBit[line]) & 1) != 0;
      byte = static_cast<uint8_t>(on ? (byte | kAnnunciatorBit) : (byte & ~kAnnunciatorBit));
    }
  }
  m.host->displayChanged();
}

void setContrast(Machine& m, uint32_t value) {
  VendelMachine& vm = m.vm;
  const int64_t visible = vm.contrast;
  const int64_t v = value;
  // The target is signed: stepping down below zero must not wrap to a bright screen.
  int64_t target = static_cast<int32_t>(vm.contrastTarget);
  if (v == visible - 1) {
    --target;
  } else if (v == visible + 1) {
    ++target;
  } else if (v == visible) {
    if (visible == 24)
      ++target;
  } else {
    vm.contrastTarget = value;
    vm.contrast = value;
    return;
  }
  target = std::clamp<int64_t>(target, INT32_MIN, INT32_MAX);
  vm.contrastTarget = static_cast<uint32_t>(static_cast<int32_t>(target));
  vm.contrast = static_cast<uint32_t>(std::clamp<int64_t>(target, 9, 24));
}

void copyLcdImage(Machine& m, std::span<uint8_t, kLcdBytes> out) {
  std::lock_guard guard(m.lcd.lock);
  std::memcpy(out.data(), m.lcd.bytes.data(), kLcdBytes);
}

}  // namespace tavrel::machine
