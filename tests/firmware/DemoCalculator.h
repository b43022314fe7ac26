// A deterministic harness around the demo firmware: the machine runs on the test's thread
// with the default host, keys go in the way the core delivers them, and the firmware is
// resumed after a wake-up the way the hardware resumes after SHUTDN.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DefaultMachineHost.h"
#include "Display.h"
#include "Machine.h"

namespace tavrel::firmware_test {

// Key numbers of the demo layout (firmware/README.md).
namespace key {
inline constexpr int kF1 = 0, kF2 = 1, kF3 = 2, kF4 = 3, kF5 = 4, kF6 = 5;
inline constexpr int kRight = 15, kBackspace = 20, kEex = 26, kNeg = 27, kDivide = 30;
inline constexpr int kMultiply = 35, kAlpha = 36, kMinus = 40, kShift = 41, kPlus = 45;
inline constexpr int kOn = 46, kPoint = 48, kEnter = 50;
int digit(int d);  // key number of the digit d
}  // namespace key

class DemoCalculator {
 public:
  // Boots build/data/ROM/demo.rom until it first sleeps.
  DemoCalculator();

  machine::Machine& machine() { return *machine_; }
  machine::DefaultMachineHost& host() { return host_; }

  // Presses and releases one key, letting the firmware run after each edge that wakes it.
  void press(int key);
  // Presses the keys of a text: digits, '.', 'E' (EEX), '~' (+/-), '+', '-', '*', '/',
  // ' ' (ENTER).
  void type(const std::string& keys);
  void keyDown(int key);
  void keyUp(int key);
  // Lets the clock run on; the firmware wakes when its timer passes zero.
  void advanceSeconds(uint64_t seconds);

  // Instructions the firmware needed to go back to sleep after the last wake-up.
  uint64_t lastRunLength() const { return lastRun_; }
  bool asleep() const;

  // The LCD image after a refresh.
  std::array<uint8_t, machine::kLcdBytes> lcd();
  bool pixel(int x, int y);
  // 64 lines of 131 characters, '#' for a dark pixel.
  std::string lcdArt();
  // Text row 0-7 of the main area, or 8 for the menu line, as read back through the font.
  std::string row(int textRow);
  // Annunciator k (0-5) as shown beside LCD lines 0-5.
  bool annunciator(int k);

 private:
  void resumeIfWoken();
  void runUntilAsleep();

  machine::DefaultMachineHost host_;
  std::unique_ptr<machine::Machine> machine_;
  uint64_t lastRun_ = 0;
};

}  // namespace tavrel::firmware_test
