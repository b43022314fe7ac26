// Processor state operations: machine creation, P and the field tables, the return stack,
// interrupt entry and return.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "Machine.h"
#include "RomFile.h"

namespace tavrel::machine {

inline constexpr uint32_t kInterruptVector = 0x0000F;

// Clears the record, fills the field tables, loads the ROM (a file that cannot be read leaves
// the ROM zero), builds the map, sets display defaults and resets the chipset. A null host
// gives the machine its own DefaultMachineHost.
std::unique_ptr<Machine> createMachine(const std::filesystem::path& romFile, MachineHost* host);
// The same, telling how the ROM file was read.
std::unique_ptr<Machine> createMachine(const std::filesystem::path& romFile, MachineHost* host,
                                       RomLoad& romLoad);

// The only way to change P: keeps P4, P4High and the P and WP field entries in step.
void setP(Machine& m, uint32_t value);
// Fills the field tables as at creation, for P = 0.
void initFieldTables(VendelMachine& vm);
// Recomputes a user field's start and length from its mask (DEFINE-FIELD).
void setUserField(VendelMachine& vm, uint32_t code, uint64_t mask);
// Brings a record from outside (a state file) back to what the interpreter may rely on:
// 20-bit addresses, P and the field tables consistent, indexes in range.
void normalizeProcessor(VendelMachine& vm);

void pushReturn(Machine& m, uint32_t address);
uint32_t popReturn(Machine& m);

// Takes a pending interrupt if none is being served: returns the new PC (or pc unchanged).
uint32_t takeInterrupt(Machine& m, uint32_t pc);
// RTI: recomputes interruptPending and returns the popped address.
uint32_t returnFromInterrupt(Machine& m);

}  // namespace tavrel::machine
