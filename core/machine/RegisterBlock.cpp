#include "RegisterBlock.h"

#include "Display.h"
#include "Timers.h"

namespace tavrel::machine {

namespace {

// A register wider than one nibble: its first offset and its nibble count.
struct Span {
  uint32_t first;
  uint32_t count;
};
constexpr Span kContrast{0x01, 2};
constexpr Span kCrc{0x04, 4};
constexpr Span kAnnunciators{0x0B, 2};
constexpr Span kReceivedByte{0x14, 2};
constexpr Span kTransmitByte{0x16, 2};
constexpr Span kDisplayStart{0x20, 5};
constexpr Span kLineOffset{0x25, 3};
constexpr Span kLineCount{0x28, 2};
constexpr Span kStoredValue{0x2A, 4};
constexpr Span kMenuStart{0x30, 5};
constexpr Span kTimer2{0x38, 8};

uint32_t nibbleOf(uint32_t value, const Span& span, uint32_t offset) {
  return (value >> (4 * (offset - span.first))) & 0xF;
}
bool within(const Span& span, uint32_t offset) {
  return offset >= span.first && offset < span.first + span.count;
}

// The next pseudo-random CRC reading; a fixed sequence keeps runs reproducible.
uint32_t nextCrc(uint32_t previous) {
  return (previous * 25173u + 13849u) & 0xFFFF;
}

// Values that one access reads once, however many of their nibbles it covers.
class ReadAccess {
 public:
  explicit ReadAccess(Machine& m) : m_(m) {}

  uint32_t nibble(uint32_t offset) {
    auto& vm = m_.vm;
    if (within(kContrast, offset))
      return nibbleOf(vm.contrast & 0x1F, kContrast, offset);
    if (within(kCrc, offset))
      return nibbleOf(crc(), kCrc, offset);
    if (within(kAnnunciators, offset)) {
      return nibbleOf(vm.annunciators, kAnnunciators, offset);
    }
    if (within(kReceivedByte, offset))
      return nibbleOf(receivedByte(), kReceivedByte, offset);
    if (within(kDisplayStart, offset))
      return nibbleOf(vm.displayStart, kDisplayStart, offset);
    if (within(kLineOffset, offset))
      return nibbleOf(vm.lineOffset, kLineOffset, offset);
    if (within(kStoredValue, offset))
      return nibbleOf(vm.reg2A, kStoredValue, offset);
    if (within(kMenuStart, offset))
      return nibbleOf(vm.menuStart, kMenuStart, offset);
    if (within(kTimer2, offset))
      return nibbleOf(timer2(), kTimer2, offset);
    switch (offset) {
      case 0x00:
        return (vm.bitOffset & 7) | ((vm.displayOn & 1) << 3);
      case 0x03:
        return vm.displayTest & 1;
      case 0x09:
        return 1;
      case 0x0D:
        return vm.regNibble0D & 0xF;
      case 0x10:
        return vm.serialControl & 0xF;
      case 0x11:
        return m_.host->readReceiveStatus(vm.receiveControl) & 0xF;
      case 0x12:
        return vm.transmitControl & 0xF;
      case 0x1A:
        return vm.regNibble1A & 0xF;
      case 0x1B:
        return vm.regNibble1B & 0xF;
      case 0x1E:
        return vm.regNibble1E & 0xF;
      case 0x1F:
        return (vm.port0Page / 16) & 0xF;
      case 0x2E:
        return vm.timer1Control & 0xF;
      case 0x2F:
        return readTimer2ControlRegister(m_) & 0xF;
      case 0x37:
        return readTimer1(m_) & 0xF;
      default:
        return 0;  // 08, 13, 16-17, 28-29, 35 and unlisted offsets
    }
  }

 private:
  struct Once {
    bool known = false;
    uint32_t value = 0;
    template <typename Read>
    uint32_t get(Read read) {
      if (!known) {
        value = read();
        known = true;
      }
      return value;
    }
  };

  uint32_t crc() {
    return crc_.get([this] {
      auto& vm = m_.vm;
      if (vm.crcPending != 0) {
        vm.crcPending = 0;
      } else {
        vm.crcValue = nextCrc(vm.crcValue);
      }
      return vm.crcValue & 0xFFFF;
    });
  }
  uint32_t receivedByte() {
    return received_.get([this] { return m_.host->takeReceivedByte() & 0xFF; });
  }
  uint32_t timer2() {
    return timer2_.get([this] { return readTimer2(m_); });
  }

  Machine& m_;
  Once crc_;
  Once received_;
  Once timer2_;
};

// The nibbles one write carries, by register offset.
class WriteAccess {
 public:
  WriteAccess(uint32_t offset, uint32_t value, uint32_t nibbleMask) {
    for (uint32_t i = 0; i < 8; ++i) {
      const uint32_t at = offset + i;
      if (at >= kRegisterBlockNibbles || ((nibbleMask >> (4 * i)) & 0xF) == 0)
        continue;
      written_ |= uint64_t{1} << at;
      nibbles_[at] = (value >> (4 * i)) & 0xF;
    }
  }

  bool touches(uint32_t offset) const { return (written_ >> offset) & 1; }
  bool touches(const Span& span) const {
    for (uint32_t i = 0; i < span.count; ++i) {
      if (touches(span.first + i))
        return true;
    }
    return false;
  }
  uint32_t nibble(uint32_t offset) const { return nibbles_[offset]; }
  // The register's current value with the written nibbles put in.
  uint32_t merge(const Span& span, uint32_t current) const {
    for (uint32_t i = 0; i < span.count; ++i) {
      if (!touches(span.first + i))
        continue;
      current = (current & ~(0xFu << (4 * i))) | (nibbles_[span.first + i] << (4 * i));
    }
    return current;
  }

 private:
  uint64_t written_ = 0;
  uint32_t nibbles_[kRegisterBlockNibbles] = {};
};

void writeDisplayRegisters(Machine& m, const WriteAccess& w) {
  auto& vm = m.vm;
  if (w.touches(0x00)) {
    vm.bitOffset = w.nibble(0x00) & 7;
    vm.displayOn = (w.nibble(0x00) >> 3) & 1;
  }
  if (w.touches(kContrast))
    setContrast(m, w.merge(kContrast, vm.contrast) & 0x1F);
  if (w.touches(0x03))
    vm.displayTest = (w.nibble(0x03) >> 3) & 1;
  if (w.touches(kAnnunciators)) {
    setAnnunciators(m, static_cast<uint8_t>(w.merge(kAnnunciators, vm.annunciators)));
  }
  if (w.touches(kDisplayStart))
    vm.displayStart = w.merge(kDisplayStart, vm.displayStart) & 0xFFFFE;
  if (w.touches(kLineOffset))
    vm.lineOffset = w.merge(kLineOffset, vm.lineOffset) & 0xFFE;
  if (w.touches(kLineCount)) {
    const uint32_t lines = w.merge(kLineCount, vm.lineCount & 0x3F) & 0x3F;
    vm.lineCount = lines == 0 ? 63 : lines;
  }
  if (w.touches(kMenuStart))
    vm.menuStart = w.merge(kMenuStart, vm.menuStart) & 0xFFFFE;
}

void writeSerialRegisters(Machine& m, const WriteAccess& w) {
  auto& vm = m.vm;
  bool settingsChanged = false;
  if (w.touches(0x0D))
    vm.regNibble0D = static_cast<uint8_t>(w.nibble(0x0D));
  if (w.touches(0x10)) {
    vm.serialControl = static_cast<uint8_t>(w.nibble(0x10));
    settingsChanged = true;
  }
  if (w.touches(0x11)) {
    vm.receiveControl = static_cast<uint8_t>((vm.receiveControl & ~4u) | (w.nibble(0x11) & 4));
  }
  if (w.touches(0x12)) {
    vm.transmitControl =
        static_cast<uint8_t>((vm.transmitControl & ~0xCu) | (w.nibble(0x12) & 0xC));
  }
  if (w.touches(0x13))
    vm.receiveControl = static_cast<uint8_t>(vm.receiveControl & ~4u);
  if (w.touches(kTransmitByte)) {
    m.host->transmitByte(static_cast<uint8_t>(w.merge(kTransmitByte, 0)));
  }
  if (w.touches(0x1A)) {
    vm.regNibble1A = static_cast<uint8_t>(w.nibble(0x1A));
    settingsChanged = true;
  }
  if (w.touches(0x1B)) {
    vm.regNibble1B = static_cast<uint8_t>(w.nibble(0x1B));
    settingsChanged = true;
  }
  if (settingsChanged)
    m.host->serialSettingsChanged();
}

void writeOtherRegisters(Machine& m, const WriteAccess& w) {
  auto& vm = m.vm;
  if (w.touches(kCrc)) {
    vm.crcValue = w.merge(kCrc, vm.crcValue & 0xFFFF);
    vm.crcPending = 1;
  }
  if (w.touches(0x1E))
    vm.regNibble1E = w.nibble(0x1E);
  if (w.touches(kStoredValue)) {
    vm.reg2A = (vm.reg2A & 0xF0000) | (w.merge(kStoredValue, vm.reg2A) & 0xFFFF);
  }
  if (w.touches(0x35))
    vm.reg2A = (vm.reg2A & 0xFFFF) | (w.nibble(0x35) << 16);
  if (w.touches(0x2E))
    writeTimer1ControlRegister(m, w.nibble(0x2E) & 0xE);
  if (w.touches(0x2F))
    writeTimer2ControlRegister(m, w.nibble(0x2F));
  if (w.touches(0x37))
    writeTimer1(m, w.nibble(0x37));
  if (w.touches(kTimer2))
    writeTimer2(m, w.merge(kTimer2, readTimer2(m)));
}

}  // namespace

uint32_t readRegisters(Machine& m, uint32_t offset, int count) {
  ReadAccess access(m);
  uint32_t value = 0;
  for (int i = 0; i < count && i < 8; ++i) {
    const uint32_t at = offset + static_cast<uint32_t>(i);
    if (at >= kRegisterBlockNibbles)
      break;
    value |= access.nibble(at) << (4 * i);
  }
  return value;
}

void writeRegisters(Machine& m, uint32_t offset, uint32_t value, uint32_t nibbleMask) {
  const WriteAccess access(offset, value, nibbleMask);
  writeDisplayRegisters(m, access);
  writeSerialRegisters(m, access);
  writeOtherRegisters(m, access);
}

}  // namespace tavrel::machine
