#include "RegisterDump.h"

#include <cinttypes>
#include <cstdio>

namespace tavrel::vendelrun {

namespace {

void line(std::string& out, const char* name, const char* format, auto... values) {
  char text[128];
  std::snprintf(text, sizeof text, format, values...);
  out += name;
  out += '=';
  out += text;
  out += '\n';
}

void wide(std::string& out, const char* name, const machine::Reg64& r) {
  line(out, name, "%08" PRIX32 "%08" PRIX32, r.hi, r.lo);
}

}  // namespace

std::string dumpRegisters(const machine::Machine& m, const machine::StepResult& run) {
  const machine::VendelMachine& vm = m.vm;
  std::string out;
  line(out, "STEPS", "%" PRIu64, run.executed);
  line(out, "STOPPED_AT_SHUTDN", "%d", run.atShutdown ? 1 : 0);
  line(out, "PC", "%05" PRIX32, vm.PC);
  wide(out, "A", vm.A);
  wide(out, "B", vm.B);
  wide(out, "C", vm.C);
  wide(out, "D", vm.D);
  wide(out, "R0", vm.R0);
  wide(out, "R1", vm.R1);
  wide(out, "R2", vm.R2);
  wide(out, "R3", vm.R3);
  wide(out, "R4", vm.R4);
  line(out, "D0", "%05" PRIX32, vm.D0);
  line(out, "D1", "%05" PRIX32, vm.D1);
  line(out, "P", "%" PRIX32, vm.P);
  line(out, "ST", "%04" PRIX32, vm.ST);
  line(out, "HST", "%" PRIX32, vm.HST);
  line(out, "CARRY", "%d", vm.carry != 0 ? 1 : 0);
  line(out, "MODE", "%s", vm.decimal != 0 ? "DEC" : "HEX");
  std::string stack;
  for (uint32_t address : vm.returnStack) {
    char text[8];
    std::snprintf(text, sizeof text, "%s%05" PRIX32, stack.empty() ? "" : " ", address);
    stack += text;
  }
  line(out, "RSTK", "%s", stack.c_str());
  line(out, "RSTK_INDEX", "%" PRIu32, vm.returnStackIndex);
  line(out, "INTERRUPT_PENDING", "%" PRIX32, vm.interruptPending);
  line(out, "INTERRUPTS_ENABLED", "%" PRIu32, vm.interruptsEnabled);
  line(out, "IN_INTERRUPT", "%" PRIu32, vm.inInterrupt);
  return out;
}

}  // namespace tavrel::vendelrun
