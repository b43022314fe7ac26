// The loops the interpreter is measured on, each on a machine configured as the ROM's start
// code leaves it (register block at 00100, RAM at 80000).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "DefaultMachineHost.h"
#include "Machine.h"

namespace tavrel::bench {

struct BenchProgram {
  std::string name;
  std::string source;
};

// alu, memory, mixed, runstream
const std::vector<BenchProgram>& benchPrograms();

struct PreparedMachine {
  machine::DefaultMachineHost host;
  std::unique_ptr<machine::Machine> machine;
};

// Assembles the program into the ROM and runs its set-up part; throws on assembly errors.
std::unique_ptr<PreparedMachine> prepare(const BenchProgram& program);

}  // namespace tavrel::bench
