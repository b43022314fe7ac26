// A machine whose ROM is a program assembled from source, on the deterministic default host.
// Nothing is configured: only the ROM is visible until the program configures the chain.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "Assembler.h"
#include "DefaultMachineHost.h"
#include "Interpreter.h"
#include "Machine.h"
#include "Memory.h"
#include "MemoryMap.h"
#include "Processor.h"
#include "RomFile.h"

namespace tavrel::machine {

// A ROM image: header of 7 bytes, bank 0 of 128 KB holding the nibbles (addresses 0-3FFFF).
inline std::vector<uint8_t> romImageOf(const std::vector<uint8_t>& nibbles) {
  std::vector<uint8_t> image{7, 128, 0, 0, 0, 0, 0, 0};
  image.resize(8 + 131072, 0);
  for (std::size_t i = 0; i < nibbles.size() && i / 2 < 131072; ++i) {
    image[8 + i / 2] |= static_cast<uint8_t>((nibbles[i] & 0xF) << (4 * (i & 1)));
  }
  return image;
}

class InterpreterTest : public ::testing::Test {
 protected:
  InterpreterTest() : machine(createMachine("/nonexistent/rom", &host)), m(*machine) {}

  // Assembles the program into the ROM and puts PC at 00000.
  void load(std::string_view source) {
    const vasm::Assembly assembly = vasm::assemble(source);
    ASSERT_TRUE(assembly.errors.empty()) << assembly.errors.front();
    labels = assembly.labels;
    loadRomImage(m, romImageOf(assembly.nibbles));
    rebuildMap(m);
    m.vm.PC = 0;
  }
  StepResult step(uint64_t count = 1) { return stepMachine(m, count); }
  // Loads, then steps until the program reaches its SHUTDN.
  StepResult run(std::string_view source, uint64_t limit = 10000) {
    load(source);
    return step(limit);
  }
  uint32_t label(const std::string& name) const { return labels.at(name); }

  static uint64_t value(const Reg64& r) { return (uint64_t{r.hi} << 32) | r.lo; }
  static Reg64 reg(uint64_t v) {
    return {static_cast<uint32_t>(v), static_cast<uint32_t>(v >> 32)};
  }

  DefaultMachineHost host;
  std::unique_ptr<Machine> machine;
  Machine& m;
  std::map<std::string, uint32_t> labels;
};

}  // namespace tavrel::machine
