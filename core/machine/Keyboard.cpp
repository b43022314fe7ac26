#include "Keyboard.h"

#include <array>
#include <atomic>

#include "Machine.h"
#include "MachineHost.h"
#include "Memory.h"
#include "ProcessorAccess.h"

namespace tavrel::machine {
namespace {

constexpr std::array<KeyInfo, kKeyCount + 1> kKeys = {{
    {5, 0x01, 1},  {5, 0x02, 2},  {5, 0x04, 3},  {5, 0x08, 4},  {5, 0x10, 5},     {5, 0x20, 6},
    {5, 0x80, 7},  {4, 0x80, 8},  {3, 0x80, 9},  {6, 0x08, 10}, {2, 0x80, 11},    {1, 0x80, 12},
    {0, 0x80, 13}, {6, 0x04, 14}, {6, 0x02, 15}, {6, 0x01, 16}, {4, 0x40, 17},    {3, 0x40, 18},
    {2, 0x40, 19}, {1, 0x40, 20}, {0, 0x40, 21}, {4, 0x20, 22}, {3, 0x20, 23},    {2, 0x20, 24},
    {1, 0x20, 25}, {0, 0x20, 26}, {4, 0x10, 27}, {3, 0x10, 28}, {2, 0x10, 29},    {1, 0x10, 30},
    {0, 0x10, 31}, {7, 0x08, 32}, {3, 0x08, 33}, {2, 0x08, 34}, {1, 0x08, 35},    {0, 0x08, 36},
    {7, 0x04, 64}, {3, 0x04, 38}, {2, 0x04, 39}, {1, 0x04, 40}, {0, 0x04, 41},    {7, 0x02, 192},
    {3, 0x02, 43}, {2, 0x02, 44}, {1, 0x02, 45}, {0, 0x02, 46}, {-1, 0x8000, 47}, {3, 0x01, 48},
    {2, 0x01, 49}, {1, 0x01, 50}, {0, 0x01, 51}, {0, 0, 0},  // the null key
}};

// Code delivered while shift keys are held, by shiftState; 255 = deliver nothing.
constexpr std::array<uint32_t, 8> kShiftModifier = {0, 192, 64, 255, 128, 255, 255, 255};
constexpr uint32_t kNoDelivery = 255;

// The ROM's key buffer in port 0 RAM.
constexpr uint32_t kKeyBufferGuard = 0x8065B;
constexpr uint32_t kKeyBufferHead = 0x80669;
constexpr uint32_t kKeyBufferTail = 0x8066A;
constexpr uint32_t kKeyBufferSlots = 0x8066B;

uint32_t shiftBit(int key) {
  if (key == kAlphaShiftKey)
    return 4;
  if (key == kLeftShiftKey)
    return 2;
  return 0;
}

// Other tasks may press keys while the interpreter reads the rows: every access is atomic.
std::atomic_ref<uint32_t> row(Machine& m, int index) {
  return std::atomic_ref<uint32_t>(m.vm.keyRows[index]);
}

void requestInterrupt(Machine& m) {
  std::atomic_ref<uint32_t>(m.vm.interruptPending).fetch_or(1);
  m.host->signalWakeUp();
}

}  // namespace

const KeyInfo& keyInfo(int key) {
  return kKeys[key >= 0 && key <= kKeyCount ? key : kNullKey];
}

int keyFromRemoteCode(uint32_t code) {
  const uint32_t rowNibble = code >> 4;
  const uint32_t column = code & 0xF;
  if (code > 0xA5 || column == 0)
    return kNullKey;
  switch (rowNibble) {
    case 1:
      return column <= 6 ? static_cast<int>(column) - 1 : kNullKey;
    case 2:
      if (column <= 3)
        return static_cast<int>(column) + 5;
      return column == 5 ? 9 : kNullKey;
    case 3:
      return column <= 6 ? static_cast<int>(column) + 9 : kNullKey;
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
      return column <= 5 ? static_cast<int>(16 + 5 * (rowNibble - 4) + column - 1) : kNullKey;
    default:
      return kNullKey;
  }
}

uint32_t readKeyIn(Machine& m) {
  const uint32_t lines = m.vm.keyOut & 0xFF;
  if (lines == 0)
    return row(m, 0).load(std::memory_order_relaxed) & kOnKeyMask;
  uint32_t in = 0;
  for (int i = 0; i < 8; ++i) {
    if (lines & (1u << i))
      in |= row(m, i).load(std::memory_order_relaxed);
  }
  return in & 0xFFFF;
}

void writeKeyOut(Machine& m, uint32_t value) {
  m.vm.keyOut = value & 0xFFF;
}

void putKeyCode(Machine& m, uint32_t code) {
  VendelMachine& vm = m.vm;
  if (vm.interruptsEnabled != 0 && (vm.ST & 0x8000) != 0 &&
      readNibbles(m, kKeyBufferGuard, 1) == 0) {
    const uint32_t head = readNibbles(m, kKeyBufferHead, 1);
    const uint32_t tail = readNibbles(m, kKeyBufferTail, 1);
    if (((head - tail - 1) & 0xF) != 0) {
      writeNibbles(m, kKeyBufferSlots + 2 * tail, code & 0xFF, 2);
      writeNibbles(m, kKeyBufferTail, (tail + 1) & 0xF, 1);
    }
    return;
  }
  // No buffer to write to yet: hold one key for keyboardCheck; a second one cancels both.
  std::lock_guard guard(m.keys.lock);
  m.keys.pendingKey = m.keys.pendingKey == 0 ? code : 0;
}

void keyDown(Machine& m, int key) {
  const KeyInfo& info = keyInfo(key);
  if (key == kOnKey) {
    for (int i = 0; i < 8; ++i)
      row(m, i).fetch_or(kOnKeyMask);
    m.keys.onHeld = 1;
    requestInterrupt(m);
    return;
  }
  if (info.mask == 0)
    return;
  row(m, info.row).fetch_or(info.mask);
  // The key mode, the interrupt state and the ROM's key buffer belong to the running firmware.
  ProcessorHold hold(m);
  if (m.vm.keyMode != 0 || m.keys.onHeld != 0) {
    if (m.vm.interruptsEnabled == 1 && (m.vm.keyOut & (1u << info.row)) != 0) {
      requestInterrupt(m);
    }
    return;
  }
  const uint32_t modifier = kShiftModifier[m.keys.shiftState & 7];
  m.keys.shiftState |= shiftBit(key);
  if (modifier == kNoDelivery)
    return;
  putKeyCode(m, info.code > 63 ? info.code : (modifier | info.code));
  m.host->signalWakeUp();
}

void keyUp(Machine& m, int key) {
  const KeyInfo& info = keyInfo(key);
  if (key == kOnKey) {
    for (int i = 0; i < 8; ++i)
      row(m, i).fetch_and(~kOnKeyMask);
    m.keys.onHeld = 0;
    return;
  }
  if (info.mask == 0)
    return;
  row(m, info.row).fetch_and(~static_cast<uint32_t>(info.mask));
  ProcessorHold hold(m);
  if (m.vm.keyMode == 0) {
    std::lock_guard guard(m.keys.lock);
    if ((m.keys.pendingKey & 0x3F) == static_cast<uint32_t>(key) + 1)
      m.keys.pendingKey = 0;
  }
  if (const uint32_t bit = shiftBit(key); bit != 0) {
    m.keys.shiftState &= ~bit;
    requestInterrupt(m);
  }
}

void keyboardCheck(Machine& m) {
  if (m.vm.keyMode == 0) {
    uint32_t code;
    {
      std::lock_guard guard(m.keys.lock);
      code = m.keys.pendingKey;
      m.keys.pendingKey = 0;
    }
    if (code != 0)
      putKeyCode(m, code);
    return;
  }
  if (readKeyIn(m) != 0)
    std::atomic_ref<uint32_t>(m.vm.interruptPending).store(3);
}

}  // namespace tavrel::machine
