#include "DemoCalculator.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "Interpreter.h"
#include "Keyboard.h"
#include "LcdText.h"
#include "Memory.h"
#include "Processor.h"

namespace tavrel::firmware_test {
namespace {

constexpr uint64_t kIdleLimit = 5'000'000;   // instructions that one wake-up may take
constexpr uint32_t kShutdownOpcode = 0x708;  // 807, lowest nibble first

std::filesystem::path romPath() {
  const char* build = std::getenv("TAVREL_BUILD_DIR");
  return std::filesystem::path(build != nullptr ? build : ".") / "data" / "ROM" / "demo.rom";
}

}  // namespace

int key::digit(int d) {
  static constexpr int kDigits[10] = {47, 42, 43, 44, 37, 38, 39, 32, 33, 34};
  return kDigits[d];
}

DemoCalculator::DemoCalculator() {
  if (!std::filesystem::exists(romPath()))
    throw std::runtime_error("demo ROM missing: " + romPath().string());
  machine_ = machine::createMachine(romPath(), &host_);
  runUntilAsleep();
}

bool DemoCalculator::asleep() const {
  return machine::readNibbles(*machine_, machine_->vm.PC, 3) == kShutdownOpcode;
}

void DemoCalculator::runUntilAsleep() {
  lastRun_ = 0;
  while (lastRun_ < kIdleLimit) {
    const machine::StepResult step = machine::stepMachine(*machine_, 10'000);
    lastRun_ += step.executed;
    if (step.atShutdown)
      return;
  }
  throw std::runtime_error("the firmware did not go back to sleep");
}

// The hardware leaves SHUTDN when the wake-up event is signalled, continues after the 807 and
// takes a pending interrupt before that next instruction (stepMachine does the latter).
void DemoCalculator::resumeIfWoken() {
  if (!host_.wakeUpSignalled && machine_->vm.interruptPending == 0)
    return;
  host_.wakeUpSignalled = false;
  if (asleep())
    machine_->vm.PC = (machine_->vm.PC + 3) & 0xFFFFF;
  runUntilAsleep();
}

void DemoCalculator::keyDown(int k) {
  machine::keyDown(*machine_, k);
  resumeIfWoken();
}

void DemoCalculator::keyUp(int k) {
  machine::keyUp(*machine_, k);
  resumeIfWoken();
}

void DemoCalculator::press(int k) {
  keyDown(k);
  keyUp(k);
}

void DemoCalculator::type(const std::string& keys) {
  for (char c : keys) {
    if (c >= '0' && c <= '9') {
      press(key::digit(c - '0'));
      continue;
    }
    switch (c) {
      case '.':
        press(key::kPoint);
        break;
      case 'E':
        press(key::kEex);
        break;
      case '~':
        press(key::kNeg);
        break;
      case '+':
        press(key::kPlus);
        break;
      case '-':
        press(key::kMinus);
        break;
      case '*':
        press(key::kMultiply);
        break;
      case '/':
        press(key::kDivide);
        break;
      case ' ':
        press(key::kEnter);
        break;
      default:
        throw std::invalid_argument(std::string("no key for '") + c + "'");
    }
  }
}

void DemoCalculator::advanceSeconds(uint64_t seconds) {
  host_.advanceTime(*machine_, seconds * machine::DefaultMachineHost::kTicksPerSecond);
  resumeIfWoken();
}

std::array<uint8_t, machine::kLcdBytes> DemoCalculator::lcd() {
  machine::refreshLcd(*machine_);
  std::array<uint8_t, machine::kLcdBytes> image{};
  machine::copyLcdImage(*machine_, image);
  return image;
}

bool DemoCalculator::pixel(int x, int y) {
  return lcdPixel(lcd(), x, y);
}

std::string DemoCalculator::lcdArt() {
  return lcdToArt(lcd());
}

std::string DemoCalculator::row(int textRow) {
  return readTextRow(lcd(), textRow);
}

bool DemoCalculator::annunciator(int k) {
  const auto image = lcd();
  return (image[k * machine::kLcdLineBytes + 16] & machine::kAnnunciatorBit) != 0;
}

}  // namespace tavrel::firmware_test
