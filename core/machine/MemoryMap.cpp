#include "MemoryMap.h"

#include "RomFile.h"

namespace tavrel::machine {

namespace {

// Host nibble positions (2 * image byte address + nibble) must fit in 32 bits. With image
// addresses this holds by construction; the checks keep it true if the bases ever move.
constexpr uint32_t kNibblePositionLimit = 0x80000000u;
static_assert(HostAddress::kPort0 + kPort0Bytes <= kNibblePositionLimit,
              "Vendelator doesn't support port0 memory above 0x80000000!");
static_assert(HostAddress::kPort12 + kPort12Bytes <= kNibblePositionLimit,
              "Vendelator doesn't support port1 memory above 0x80000000!");
static_assert(HostAddress::kDisp0 + kDisp0Bytes <= kNibblePositionLimit,
              "Vendelator doesn't support disp0 memory above 0x80000000!");
static_assert(HostAddress::kRom + kRomAreaBytes <= HostAddress::kPort0 &&
              HostAddress::kFiller + kPageBytes <= kNibblePositionLimit);

constexpr uint32_t kPort0BufferPages = kPort0Bytes / kPageBytes;
constexpr uint32_t kPort12BufferPages = kPort12Bytes / kPageBytes;

uint32_t* pointerFor(const Machine& m, uint32_t imageAddress) {
  const std::span<uint8_t> bytes = imageBytes(m, imageAddress);
  return bytes.size() >= kPageBytes ? reinterpret_cast<uint32_t*>(bytes.data()) : nullptr;
}

bool inLowWindow(uint32_t page) {
  return (page & 0x40) == 0;
}

uint32_t bankPageImage(const Machine& m, uint32_t bank, uint32_t page) {
  if (bank >= static_cast<uint32_t>(kRomBankCount))
    return m.vm.fillerPage;
  return m.vm.romBanks[bank] + static_cast<uint32_t>(kPageBytes) * (page & 0x3F);
}

void layRomPage(Machine& m, uint32_t page) {
  const uint32_t bank = inLowWindow(page) ? m.vm.romBankLow : m.vm.romBankHigh;
  setPage(m, page, bankPageImage(m, bank, page), 0, 0);
}

uint32_t disp0NextPage(uint32_t page) {
  return (page + 1) & 0xFF;
}

// Saves what pages k and k+1 show now and lays the two halves of disp0 over them.
void layDisp0(Machine& m) {
  auto& vm = m.vm;
  const uint32_t pages[2] = {vm.disp0Page & 0xFF, disp0NextPage(vm.disp0Page)};
  for (int i = 0; i < 2; ++i) {
    vm.disp0Saved[i] = vm.readPage[pages[i]];
    vm.disp0Saved[2 + i] = vm.writePage[pages[i]];
    m.disp0Saved[i] = m.readPage[pages[i]];
    m.disp0Saved[2 + i] = m.writePage[pages[i]];
  }
  for (uint32_t i = 0; i < 2; ++i) {
    const uint32_t image = vm.disp0Buffer + i * static_cast<uint32_t>(kPageBytes);
    uint32_t* pointer = pointerFor(m, image);
    vm.readPage[pages[i]] = vm.writePage[pages[i]] = image;
    m.readPage[pages[i]] = m.writePage[pages[i]] = pointer;
  }
  refreshMirrorEntry(m);
}

void unlayDisp0(Machine& m) {
  auto& vm = m.vm;
  const uint32_t pages[2] = {vm.disp0Page & 0xFF, disp0NextPage(vm.disp0Page)};
  for (int i = 0; i < 2; ++i) {
    vm.readPage[pages[i]] = vm.disp0Saved[i];
    vm.writePage[pages[i]] = vm.disp0Saved[2 + i];
    m.readPage[pages[i]] = m.disp0Saved[i];
    m.writePage[pages[i]] = m.disp0Saved[2 + i];
  }
  refreshMirrorEntry(m);
}

}  // namespace

std::span<uint8_t> imageBytes(const Machine& m, uint32_t imageAddress) {
  struct Buffer {
    uint32_t base;
    uint32_t* pointer;
    std::size_t bytes;
  };
  const Buffer buffers[] = {
      {HostAddress::kRom, m.rom, m.romBytes},         {HostAddress::kPort0, m.port0, kPort0Bytes},
      {HostAddress::kPort12, m.port12, kPort12Bytes}, {HostAddress::kDisp0, m.disp0, kDisp0Bytes},
      {HostAddress::kFiller, m.filler, kPageBytes},
  };
  for (const Buffer& buffer : buffers) {
    if (imageAddress < buffer.base || buffer.pointer == nullptr)
      continue;
    const std::size_t offset = imageAddress - buffer.base;
    if (offset >= buffer.bytes)
      continue;
    return {reinterpret_cast<uint8_t*>(buffer.pointer) + offset, buffer.bytes - offset};
  }
  return {};
}

void setPage(Machine& m, uint32_t page, uint32_t readImage, uint32_t writeImage,
             uint32_t priority) {
  page &= 0xFF;
  m.vm.readPage[page] = readImage;
  m.vm.writePage[page] = writeImage;
  m.vm.pagePriority[page] = priority;
  m.readPage[page] = pointerFor(m, readImage);
  m.writePage[page] = writeImage == 0 ? nullptr : pointerFor(m, writeImage);
}

void refreshMirrorEntry(Machine& m) {
  m.vm.readPage[kPageCount] = m.vm.readPage[0];
  m.vm.writePage[kPageCount] = m.vm.writePage[0];
  m.vm.pagePriority[kPageCount] = m.vm.pagePriority[0];
  m.readPage[kPageCount] = m.readPage[0];
  m.writePage[kPageCount] = m.writePage[0];
}

void mapModule(Machine& m, uint32_t page, uint32_t priority, uint32_t buffer, uint32_t pageCount,
               uint32_t bufferPages, bool writable) {
  if (pageCount == 0)
    return;  // only a damaged state file can say so
  if (pageCount > kPageCount)
    pageCount = kPageCount;
  const uint32_t first = pageCount * ((page & 0xFF) / pageCount);
  const uint32_t laid = pageCount < bufferPages ? pageCount : bufferPages;
  for (uint32_t i = 0; i < laid && first + i < kPageCount; ++i) {
    const uint32_t target = first + i;
    if (m.vm.pagePriority[target] >= priority)
      continue;
    const uint32_t image = buffer + i * static_cast<uint32_t>(kPageBytes);
    setPage(m, target, image, writable ? image : 0, priority);
  }
}

void rebuildMap(Machine& m) {
  auto& vm = m.vm;
  for (uint32_t page = 0; page < kPageCount; ++page)
    layRomPage(m, page);
  if (vm.configState & 2) {
    mapModule(m, vm.port0Page, kPort0Priority, vm.port0Buffer, vm.port0Pages, kPort0BufferPages,
              true);
  }
  if (vm.configState & 8) {
    mapModule(m, vm.port1Page, kPort1Priority, vm.port1Buffer, vm.port1Pages, kPort12BufferPages,
              true);
  }
  if (vm.configState & 16) {
    mapModule(m, vm.port2Page, kPort2Priority, vm.port2Buffer, vm.port2Pages, kPort12BufferPages,
              true);
  }
  refreshMirrorEntry(m);
  if (vm.disp0Page != 0)
    layDisp0(m);
}

void chipsetReset(Machine& m) {
  m.vm.ioBase = -1;
  m.vm.bankSwitcherPage = -1;
  m.vm.configState = 0;
  m.vm.disp0Page = 0;
  rebuildMap(m);
}

void switchBank(Machine& m, uint32_t a) {
  auto& vm = m.vm;
  const uint32_t low = (a >> 5) & 3;
  const uint32_t high = (a >> 1) & 0xF;
  if (low == vm.romBankLow && high == vm.romBankHigh)
    return;
  // disp0 must not be mistaken for what it covers when it is laid again.
  if (vm.disp0Page != 0)
    unlayDisp0(m);
  vm.romBankLow = low;
  vm.romBankHigh = high;
  for (uint32_t page = 0; page < kPageCount; ++page) {
    if (vm.pagePriority[page] == 0)
      layRomPage(m, page);
  }
  refreshMirrorEntry(m);
  if (vm.disp0Page != 0)
    layDisp0(m);
}

void mapDisp0(Machine& m, uint32_t page) {
  if (m.vm.disp0Page != 0)
    unmapDisp0(m);
  m.vm.disp0Page = page & 0xFF;
  layDisp0(m);
}

void unmapDisp0(Machine& m) {
  if (m.vm.disp0Page == 0)
    return;
  unlayDisp0(m);
  m.vm.disp0Page = 0;
}

}  // namespace tavrel::machine
