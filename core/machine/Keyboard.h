// Keyboard matrix, key delivery into the ROM's key buffer, and the interrupts keys raise.
// keyDown/keyUp run on other tasks than the interpreter.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

namespace tavrel::machine {

struct Machine;

inline constexpr int kKeyCount = 51;  // real keys 0..50
inline constexpr int kNullKey = 51;   // pressing it changes nothing
inline constexpr int kOnKey = 46;
inline constexpr int kAlphaShiftKey = 36;  // held: shiftState bit 2
inline constexpr int kLeftShiftKey = 41;   // held: shiftState bit 1
inline constexpr uint32_t kOnKeyMask = 0x8000;

struct KeyInfo {
  int8_t row;     // OUT line, -1 for ON
  uint16_t mask;  // IN bit
  uint8_t code;   // ROM key code for the key buffer
};

// Core-wide key state, kept beside the record (it survives resets, not state files).
struct KeyState {
  uint32_t pendingKey = 0;  // guarded by lock
  std::atomic<uint32_t> shiftState{0};
  std::atomic<uint32_t> onHeld{0};
  std::mutex lock;
};

// Entry for keys 0..51; any other number gives the null key.
const KeyInfo& keyInfo(int key);
// Remote-link key codes (row nibble, column nibble) to key numbers; unknown codes give 51.
int keyFromRemoteCode(uint32_t code);

uint32_t readKeyIn(Machine& m);  // IN register, 16 bits
void writeKeyOut(Machine& m, uint32_t value);
void keyboardCheck(Machine& m);  // INTON and RSI
void keyDown(Machine& m, int key);
void keyUp(Machine& m, int key);
void putKeyCode(Machine& m, uint32_t code);

}  // namespace tavrel::machine
