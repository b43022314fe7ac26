#include "Configuration.h"

#include "MemoryMap.h"

namespace tavrel::machine {

namespace {

constexpr uint32_t kPort0BufferPages = kPort0Bytes / kPageBytes;
constexpr uint32_t kPort12BufferPages = kPort12Bytes / kPageBytes;

uint32_t argumentPage(uint32_t c) {
  return (c >> 12) & 0xFF;
}
uint32_t moduleSize(uint32_t c) {
  return kPageCount - argumentPage(c);
}

// The module whose size or address the chain asks for next, from the flags already set.
enum class NextModule { RegisterBlock, Port0, BankSwitcher, Port1, Port2, None };

NextModule nextModule(uint32_t state) {
  const uint32_t modules = state & ~kConfigAddressPending;
  if ((modules & kConfigRegisterBlock) == 0)
    return NextModule::RegisterBlock;
  if ((modules & kConfigPort0) == 0)
    return NextModule::Port0;
  if ((modules & kConfigBankSwitcher) == 0)
    return NextModule::BankSwitcher;
  if ((modules & kConfigPort1) == 0)
    return NextModule::Port1;
  if ((modules & kConfigPort2) == 0)
    return NextModule::Port2;
  return NextModule::None;
}

void mapAfterAddressStep(Machine& m, uint32_t page, uint32_t priority, uint32_t buffer,
                         uint32_t pageCount, uint32_t bufferPages) {
  mapModule(m, page, priority, buffer, pageCount, bufferPages, true);
  refreshMirrorEntry(m);
}

}  // namespace

namespace {

// One size-then-address step of a memory module (ports 0, 1 and 2).
struct MemoryModule {
  uint32_t& page;
  uint32_t& pages;
  uint32_t flag;
  uint32_t priority;
  uint32_t buffer;
  uint32_t bufferPages;
};

void configureMemoryModule(Machine& m, uint32_t c, bool addressStep, const MemoryModule& module) {
  auto& vm = m.vm;
  if (!addressStep) {
    module.pages = moduleSize(c);
    vm.configState |= kConfigAddressPending;
    return;
  }
  module.page = argumentPage(c);
  vm.configState = (vm.configState | module.flag) & ~kConfigAddressPending;
  mapAfterAddressStep(m, module.page, module.priority, module.buffer, module.pages,
                      module.bufferPages);
}

}  // namespace

void configure(Machine& m) {
  auto& vm = m.vm;
  const uint32_t c = vm.C.lo;
  const bool addressStep = (vm.configState & kConfigAddressPending) != 0;
  switch (nextModule(vm.configState)) {
    case NextModule::RegisterBlock:
      vm.ioBase = static_cast<int32_t>((c >> 6) & 0x3FFF);
      vm.configState |= kConfigRegisterBlock;
      return;
    case NextModule::Port0:
      configureMemoryModule(m, c, addressStep,
                            {vm.port0Page, vm.port0Pages, kConfigPort0, kPort0Priority,
                             vm.port0Buffer, kPort0BufferPages});
      return;
    case NextModule::BankSwitcher:
      if (!addressStep) {
        vm.configState |= kConfigAddressPending;
        return;
      }
      vm.bankSwitcherPage = static_cast<int32_t>(argumentPage(c));
      vm.configState = (vm.configState | kConfigBankSwitcher) & ~kConfigAddressPending;
      return;
    case NextModule::Port1:
      configureMemoryModule(m, c, addressStep,
                            {vm.port1Page, vm.port1Pages, kConfigPort1, kPort1Priority,
                             vm.port1Buffer, kPort12BufferPages});
      return;
    case NextModule::Port2:
      configureMemoryModule(m, c, addressStep,
                            {vm.port2Page, vm.port2Pages, kConfigPort2, kPort2Priority,
                             vm.port2Buffer, kPort12BufferPages});
      return;
    case NextModule::None:
      return;
  }
}

void unconfigure(Machine& m) {
  auto& vm = m.vm;
  const uint32_t c = vm.C.lo;
  if (vm.ioBase >= 0 && static_cast<uint32_t>(vm.ioBase) * 64 == (c & 0xFFFC0)) {
    vm.ioBase = -1;
    vm.configState &= kConfigPort0 | kConfigBankSwitcher | kConfigPort1 | kConfigPort2;
    return;
  }
  const uint32_t page = argumentPage(c);
  uint32_t released = 0;
  if ((vm.configState & kConfigPort0) && page == vm.port0Page) {
    released = kConfigPort0;
  } else if ((vm.configState & kConfigPort1) && page == vm.port1Page) {
    released = kConfigPort1;
  } else if ((vm.configState & kConfigPort2) && page == vm.port2Page) {
    released = kConfigPort2;
  }
  if (released != 0) {
    vm.configState &= ~released;
    rebuildMap(m);
    return;
  }
  if (static_cast<int32_t>(page) == vm.bankSwitcherPage) {
    vm.bankSwitcherPage = -1;
    vm.configState &= ~kConfigBankSwitcher;
  }
}

}  // namespace tavrel::machine
