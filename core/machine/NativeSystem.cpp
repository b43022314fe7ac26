// Native calls about the machine itself: RECONFIGURE, the call probe, status and constant
// calls, the processor pause, and the services the host provides (remote link, data logger).
#include <cstdint>

#include "Configuration.h"
#include "MachineHost.h"
#include "Memory.h"
#include "MemoryMap.h"
#include "NativeSupport.h"
#include "Processor.h"

namespace tavrel::machine::native {
namespace {

constexpr uint32_t kRegisterBlockAddress = 0x00100;
constexpr uint32_t kPort0Configuration = 0x80000;  // size 128 pages, then address 80000
constexpr uint32_t kPauseUnitsPerMs = 183;

uint32_t nothing(Machine&, uint32_t resume) {
  return resume;
}

// 0B: a short stop of the interpreter, done by a host task; the call returns at once.
uint32_t pauseProcessor(Machine& m, uint32_t resume) {
  m.host->pauseProcessor(low20(m.vm.C) / kPauseUnitsPerMs);
  return resume;
}

uint32_t restart(Machine&, uint32_t) {
  return 0;
}

// 15: carry = 1 when the call named by the two nibbles after it does nothing.
uint32_t probeCall(Machine& m, uint32_t resume) {
  m.vm.carry = hasNativeHandler(read2(m, resume)) ? 0 : 1;
  return (resume + 2) & kLow20;
}

template <uint32_t kSkip>
uint32_t orHardwareStatus(Machine& m, uint32_t resume) {
  m.vm.HST |= readNibbles(m, resume, 1);
  return (resume + kSkip) & kLow20;
}

template <uint32_t kValue>
uint32_t loadA(Machine& m, uint32_t resume) {
  setLow20(m.vm.A, kValue);
  return resume;
}

template <uint32_t kCarry>
uint32_t setCarry(Machine& m, uint32_t resume) {
  m.vm.carry = kCarry;
  return resume;
}

// 40: the start-up configuration, whatever was configured before.
uint32_t reconfigure(Machine& m, uint32_t resume) {
  VendelMachine& vm = m.vm;
  const Reg64 saved = vm.C;
  chipsetReset(m);
  vm.C = {kRegisterBlockAddress, 0};
  configure(m);
  vm.C = {kPort0Configuration, 0};
  configure(m);
  configure(m);
  vm.C = saved;
  setP(m, 0);
  return resume;
}

uint32_t reconfigureWithCarry(Machine& m, uint32_t resume) {
  m.vm.carry = 1;
  return reconfigure(m, resume);
}

uint32_t openRemoteLink(Machine& m, uint32_t resume) {
  m.host->openRemoteLink(m);
  return resume;
}

uint32_t closeRemoteLink(Machine& m, uint32_t resume) {
  m.host->closeRemoteLink(m);
  return resume;
}

uint32_t sendDirectByte(Machine& m, uint32_t resume) {
  m.host->sendDirectByte(m);
  return resume;
}

uint32_t datavaneService(Machine& m, uint32_t resume) {
  m.host->datavaneService(m);
  return resume;
}

}  // namespace

void addSystemCalls(NativeTable& table) {
  table[0x09] = &nothing;
  table[0x0B] = &pauseProcessor;
  table[0x13] = &restart;
  table[0x14] = &restart;
  table[0x15] = &probeCall;
  table[0x28] = &orHardwareStatus<1>;
  table[0x38] = &orHardwareStatus<3>;
  table[0x29] = &loadA<0x00040>;
  table[0x2A] = &loadA<0x00083>;
  for (uint32_t n : {0x2B, 0x2C, 0x2E, 0x64, 0x65})
    table[n] = &setCarry<0>;
  for (uint32_t n : {0x43, 0x62, 0x63})
    table[n] = &setCarry<1>;
  table[0x40] = &reconfigure;
  table[0x41] = &reconfigureWithCarry;
  table[0x42] = &reconfigureWithCarry;
  table[0x50] = &openRemoteLink;
  table[0x51] = &closeRemoteLink;
  table[0x56] = &sendDirectByte;
  table[0x90] = &datavaneService;
}

}  // namespace tavrel::machine::native
