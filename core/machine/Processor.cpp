#include "Processor.h"

#include <atomic>
#include <cstring>

#include "Configuration.h"
#include "DefaultMachineHost.h"
#include "MemoryMap.h"
#include "RomFile.h"
#include "Timers.h"

namespace tavrel::machine {

namespace {

constexpr uint32_t kCreationContrast = 12;

uint64_t lowNibblesMask(uint32_t count) {
  return count >= 16 ? ~uint64_t{0} : (uint64_t{1} << (4 * count)) - 1;
}

void setFixedField(VendelMachine& vm, uint32_t code, uint32_t start, uint32_t length) {
  vm.fieldStart[code] = start;
  vm.fieldLength[code] = length;
  vm.fieldMask[code] = lowNibblesMask(length) << (4 * start);
}

// P and WP entries for the current P.
void applyP(VendelMachine& vm) {
  vm.P4 = 4 * vm.P;
  vm.P4High = static_cast<int32_t>(4 * vm.P) - 32;
  vm.fieldStart[kFieldP] = vm.P;
  vm.fieldLength[kFieldWP] = vm.P + 1;
  vm.fieldMask[kFieldP] = uint64_t{0xF} << (4 * vm.P);
  vm.fieldMask[kFieldWP] = vm.fieldMask[kFieldCount1 + vm.P];
}

// Each buffer gets a fixed place in the image address space; they are laid out in one block.
struct BufferPlan {
  std::size_t offset;
  std::size_t bytes;
};
constexpr BufferPlan kRomPlan{0, kRomAreaBytes};
constexpr BufferPlan kPort0Plan{kRomPlan.offset + kRomPlan.bytes, kPort0Bytes};
constexpr BufferPlan kPort12Plan{kPort0Plan.offset + kPort0Plan.bytes, kPort12Bytes};
constexpr BufferPlan kDisp0Plan{kPort12Plan.offset + kPort12Plan.bytes, kDisp0Bytes};
constexpr BufferPlan kFillerPlan{kDisp0Plan.offset + kDisp0Plan.bytes, kPageBytes};
// Rounded up to whole 4096-byte units, as aligned allocation requires.
constexpr std::size_t kStorageBytes = (kFillerPlan.offset + kFillerPlan.bytes + 4095) / 4096 * 4096;
static_assert(kStorageBytes % 4096 == 0 && kRomPlan.bytes % 4096 == 0);

void allocateBuffers(Machine& m) {
  auto* block = static_cast<uint8_t*>(std::aligned_alloc(4096, kStorageBytes));
  if (block == nullptr)
    throw std::bad_alloc();
  std::memset(block, 0, kStorageBytes);
  m.storage.reset(block);
  auto at = [block](const BufferPlan& plan) {
    return reinterpret_cast<uint32_t*>(block + plan.offset);
  };
  m.rom = at(kRomPlan);
  m.romBytes = kRomPlan.bytes;
  m.port0 = at(kPort0Plan);
  m.port12 = at(kPort12Plan);
  m.disp0 = at(kDisp0Plan);
  m.filler = at(kFillerPlan);
  m.vm.port0Buffer = HostAddress::kPort0;
  m.vm.port1Buffer = HostAddress::kPort12;
  m.vm.port2Buffer = HostAddress::kPort12;
  m.vm.disp0Buffer = HostAddress::kDisp0;
  m.vm.fillerPage = HostAddress::kFiller;
}

}  // namespace

void initFieldTables(VendelMachine& vm) {
  std::memset(vm.fieldMask, 0, sizeof vm.fieldMask);
  std::memset(vm.fieldStart, 0, sizeof vm.fieldStart);
  std::memset(vm.fieldLength, 0, sizeof vm.fieldLength);
  setFixedField(vm, kFieldXS, 2, 1);
  setFixedField(vm, kFieldX, 0, 3);
  setFixedField(vm, kFieldS, 15, 1);
  setFixedField(vm, kFieldM, 3, 12);
  setFixedField(vm, kFieldB, 0, 2);
  setFixedField(vm, kFieldW, 0, 16);
  setFixedField(vm, kFieldA, 0, 5);
  for (uint32_t k = 0; k < 16; ++k)
    setFixedField(vm, kFieldCount1 + k, 0, k + 1);
  vm.P = 0;
  setFixedField(vm, kFieldP, 0, 1);
  setFixedField(vm, kFieldWP, 0, 1);
  applyP(vm);
}

void setUserField(VendelMachine& vm, uint32_t code, uint64_t mask) {
  uint32_t lowest = 0;
  uint32_t highest = 0;
  bool seen = false;
  for (uint32_t i = 0; i < 16; ++i) {
    if (((mask >> (4 * i)) & 0xF) == 0)
      continue;
    if (!seen)
      lowest = i;
    highest = i;
    seen = true;
  }
  vm.fieldMask[code] = mask;
  vm.fieldStart[code] = lowest;
  vm.fieldLength[code] = seen ? highest - lowest + 1 : 0;
}

void normalizeProcessor(VendelMachine& vm) {
  vm.D0 &= 0xFFFFF;
  vm.D1 &= 0xFFFFF;
  vm.PC &= 0xFFFFF;
  vm.ST &= 0xFFFF;
  vm.HST &= 0xF;
  vm.decimal = vm.decimal != 0 ? 1 : 0;
  for (auto& address : vm.returnStack)
    address &= 0xFFFFF;
  vm.returnStackIndex &= 7;
  // Fixed entries are rebuilt; user fields keep their mask with start and length derived.
  uint64_t userMasks[7];
  std::memcpy(userMasks, &vm.fieldMask[8], sizeof userMasks);
  const uint32_t p = vm.P & 0xF;
  initFieldTables(vm);
  for (uint32_t code = 8; code <= 14; ++code)
    setUserField(vm, code, userMasks[code - 8]);
  vm.P = p;
  applyP(vm);
}

void setP(Machine& m, uint32_t value) {
  value &= 0xF;
  if (value == m.vm.P)
    return;
  m.vm.P = value;
  applyP(m.vm);
}

void pushReturn(Machine& m, uint32_t address) {
  auto& vm = m.vm;
  vm.returnStack[vm.returnStackIndex & 7] = address & 0xFFFFF;
  vm.returnStackIndex = (vm.returnStackIndex + 1) & 7;
}

uint32_t popReturn(Machine& m) {
  auto& vm = m.vm;
  vm.returnStackIndex = (vm.returnStackIndex - 1) & 7;
  const uint32_t address = vm.returnStack[vm.returnStackIndex];
  vm.returnStack[vm.returnStackIndex] = 0;
  return address;
}

uint32_t takeInterrupt(Machine& m, uint32_t pc) {
  std::atomic_ref<uint32_t> pending(m.vm.interruptPending);
  if (pending.load(std::memory_order_relaxed) == 0 || m.vm.inInterrupt != 0)
    return pc;
  pushReturn(m, pc);
  m.vm.inInterrupt = 1;
  pending.store(0, std::memory_order_relaxed);
  return kInterruptVector;
}

uint32_t returnFromInterrupt(Machine& m) {
  auto& vm = m.vm;
  vm.inInterrupt = 0;
  std::atomic_ref<uint32_t> pending(vm.interruptPending);
  const uint32_t was = pending.load(std::memory_order_relaxed);
  bool again = false;
  if (was != 0) {
    again = was != 1 || ((vm.timer1Control & kTimerInterrupt) != 0 && (readTimer1(m) & 8) != 0) ||
            ((vm.timer2Control & kTimerInterrupt) != 0 && static_cast<int32_t>(readTimer2(m)) < 0);
  }
  pending.store(again ? 1 : 0, std::memory_order_relaxed);
  return popReturn(m);
}

std::unique_ptr<Machine> createMachine(const std::filesystem::path& romFile, MachineHost* host) {
  RomLoad ignored;
  return createMachine(romFile, host, ignored);
}

std::unique_ptr<Machine> createMachine(const std::filesystem::path& romFile, MachineHost* host,
                                       RomLoad& romLoad) {
  auto m = std::make_unique<Machine>();
  std::memset(&m->vm, 0, sizeof m->vm);
  if (host == nullptr) {
    m->ownedHost = std::make_unique<DefaultMachineHost>();
    host = m->ownedHost.get();
  }
  m->host = host;
  m->running.store(0);
  initFieldTables(m->vm);
  m->vm.reserved0EB0 = 128;
  m->vm.reserved0ECC = 64;
  m->vm.regNibble0D = 12;
  allocateBuffers(*m);
  romLoad = loadRomFile(*m, romFile);
  m->vm.romBankLow = 0;
  m->vm.romBankHigh = 0;
  m->vm.ioBase = -1;
  m->vm.bankSwitcherPage = -1;
  rebuildMap(*m);
  m->vm.contrast = kCreationContrast;
  m->vm.contrastTarget = kCreationContrast;
  chipsetReset(*m);
  return m;
}

}  // namespace tavrel::machine
