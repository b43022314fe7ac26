// A machine without ROM on the deterministic default host, configured as the ROM's start
// code leaves it: register block at 00100, 128 pages of RAM at 80000.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "DefaultMachineHost.h"
#include "Machine.h"
#include "Memory.h"
#include "NativeCalls.h"
#include "Processor.h"

namespace tavrel::machine {

class PeripheralTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kRam = 0x80000;
  static constexpr uint32_t kReconfigure = 0x40;

  PeripheralTest() : machine(createMachine("/nonexistent/rom", &host)), m(*machine) {
    callNative(m, kReconfigure, 0);
  }

  void poke(uint32_t address, uint32_t value, int count) { writeNibbles(m, address, value, count); }
  uint32_t peek(uint32_t address, int count) const { return readNibbles(m, address, count); }
  void pokeByte(uint32_t address, uint8_t value) { poke(address, value, 2); }

  static uint64_t value64(const Reg64& r) { return (uint64_t{r.hi} << 32) | r.lo; }
  static Reg64 reg(uint64_t v) {
    return {static_cast<uint32_t>(v), static_cast<uint32_t>(v >> 32)};
  }

  DefaultMachineHost host;
  std::unique_ptr<Machine> machine;
  Machine& m;
};

}  // namespace tavrel::machine
