#include "StateImage.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>

#include "MemoryMap.h"
#include "Processor.h"

namespace tavrel::machine {

static_assert(std::endian::native == std::endian::little,
              "the record image is stored byte for byte, little-endian");

namespace {

constexpr std::size_t kNameOffset = 12;

// Fills a buffer sized in advance, front to back.
class Writer {
 public:
  explicit Writer(std::vector<uint8_t>& out) : out_(out) {}
  void bytes(const void* data, std::size_t count) {
    if (count == 0)
      return;
    std::memcpy(out_.data() + at_, data, count);
    at_ += count;
  }
  template <typename T>
  void value(T v) {
    bytes(&v, sizeof v);
  }
  void zeros(std::size_t count) { at_ += count; }  // the buffer starts zeroed

 private:
  std::vector<uint8_t>& out_;
  std::size_t at_ = 0;
};

template <typename T>
T readValue(std::span<const uint8_t> bytes, std::size_t offset) {
  T v;
  std::memcpy(&v, bytes.data() + offset, sizeof v);
  return v;
}

// The memories in file order, with their sizes.
struct Memories {
  uint8_t* port0;
  uint8_t* port1;
  uint8_t* disp0;
};
Memories memoriesOf(const Machine& m) {
  return {reinterpret_cast<uint8_t*>(m.port0), reinterpret_cast<uint8_t*>(m.port12),
          reinterpret_cast<uint8_t*>(m.disp0)};
}

// What a loaded record must not take from the file: where our buffers are and the platform
// handles.
struct HostFields {
  uint32_t port0Buffer, port1Buffer, port2Buffer, fillerPage, disp0Buffer;
  uint32_t romBanks[16];
  uint32_t wakeUpEvent, processorLock;
};
HostFields hostFieldsOf(const VendelMachine& vm) {
  HostFields f{vm.port0Buffer, vm.port1Buffer,  vm.port2Buffer, vm.fillerPage, vm.disp0Buffer, {},
               vm.wakeUpEvent, vm.processorLock};
  std::memcpy(f.romBanks, vm.romBanks, sizeof f.romBanks);
  return f;
}
void putBack(VendelMachine& vm, const HostFields& f) {
  vm.port0Buffer = f.port0Buffer;
  vm.port1Buffer = f.port1Buffer;
  vm.port2Buffer = f.port2Buffer;
  vm.fillerPage = f.fillerPage;
  vm.disp0Buffer = f.disp0Buffer;
  std::memcpy(vm.romBanks, f.romBanks, sizeof vm.romBanks);
  vm.wakeUpEvent = f.wakeUpEvent;
  vm.processorLock = f.processorLock;
}

}  // namespace

std::vector<uint8_t> encodeState(const Machine& m, std::u16string_view name, int64_t clockOffset) {
  std::vector<uint8_t> out(kStateFixedBytes + 2 * name.size(), 0);
  Writer w(out);
  w.bytes(kStateMagic, sizeof kStateMagic);
  w.value(static_cast<uint32_t>(name.size()));
  for (char16_t c : name)
    w.value(static_cast<uint16_t>(c));
  w.value(clockOffset);
  w.value(static_cast<uint32_t>(kVendelMachineImageSize));
  w.bytes(&m.vm, kVendelMachineImageSize);
  const Memories memories = memoriesOf(m);
  w.bytes(memories.port0, kPort0Bytes);
  w.bytes(memories.port1, kPort12Bytes);
  w.bytes(memories.disp0, kDisp0Bytes);
  // A bank whose 131072 bytes run past the end of the ROM area is completed with zeros,
  // which is what the machine shows there.
  for (int k = 0; k < kRomBankCount; ++k) {
    const std::span<uint8_t> bank = imageBytes(m, m.vm.romBanks[k]);
    const std::size_t kept = std::min(bank.size(), kStateBankBytes);
    w.bytes(bank.data(), kept);
    w.zeros(kStateBankBytes - kept);
  }
  return out;
}

bool writeStateFile(const std::filesystem::path& path, const Machine& m, std::u16string_view name,
                    int64_t clockOffset, std::string& error) {
  const std::vector<uint8_t> bytes = encodeState(m, name, clockOffset);
  std::filesystem::path temporary = path;
  temporary += ".partial";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) {
      error = "Could not create file.";
      return false;
    }
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      error = "Could not write to file.";
      out.close();
      std::filesystem::remove(temporary);
      return false;
    }
  }
  std::error_code failure;
  std::filesystem::rename(temporary, path, failure);
  if (failure) {
    error = "Could not write to file.";
    std::filesystem::remove(temporary, failure);
    return false;
  }
  return true;
}

bool locateStateSections(std::span<const uint8_t> bytes, StateSections& sections,
                         std::string& error) {
  if (bytes.size() < kNameOffset || std::memcmp(bytes.data(), kStateMagic, 8) != 0) {
    error = "not a state file";
    return false;
  }
  const uint32_t n = readValue<uint32_t>(bytes, 8);
  if (n > kStateNameMaxChars || bytes.size() != kStateFixedBytes + 2 * std::size_t{n}) {
    error = "Invalid state file";
    return false;
  }
  sections.name.assign(n, u'\0');
  for (uint32_t i = 0; i < n; ++i) {
    sections.name[i] = static_cast<char16_t>(readValue<uint16_t>(bytes, kNameOffset + 2 * i));
  }
  const std::size_t clockAt = kNameOffset + 2 * std::size_t{n};
  sections.clockOffset = readValue<int64_t>(bytes, clockAt);
  if (readValue<uint32_t>(bytes, clockAt + 8) != kVendelMachineImageSize) {
    error = "Invalid state file";
    return false;
  }
  sections.record = clockAt + 12;
  sections.port0 = sections.record + kVendelMachineImageSize;
  sections.port1 = sections.port0 + kPort0Bytes;
  sections.disp0 = sections.port1 + kPort12Bytes;
  sections.banks = sections.disp0 + kDisp0Bytes;
  return true;
}

bool decodeState(Machine& m, std::span<const uint8_t> bytes, const StateNameCheck& acceptName,
                 StateHeader& header, std::string& error) {
  StateSections sections;
  if (!locateStateSections(bytes, sections, error))
    return false;
  if (acceptName && !acceptName(sections.name)) {
    error = "the state belongs to another calculator";
    return false;
  }
  std::size_t at = sections.record;

  // Everything is checked: from here on the load cannot fail.
  const HostFields host = hostFieldsOf(m.vm);
  std::memcpy(&m.vm, bytes.data() + at, kVendelMachineImageSize);
  at += kVendelMachineImageSize;
  putBack(m.vm, host);
  const Memories memories = memoriesOf(m);
  for (auto [target, size] :
       {std::pair{memories.port0, kPort0Bytes}, std::pair{memories.port1, kPort12Bytes},
        std::pair{memories.disp0, kDisp0Bytes}}) {
    std::memcpy(target, bytes.data() + at, size);
    at += size;
  }
  for (int k = 0; k < kRomBankCount; ++k) {
    const std::span<uint8_t> bank = imageBytes(m, m.vm.romBanks[k]);
    std::memcpy(bank.data(), bytes.data() + at, std::min(bank.size(), kStateBankBytes));
    at += kStateBankBytes;
  }
  normalizeProcessor(m.vm);
  rebuildMap(m);
  header.name = std::move(sections.name);
  header.clockOffset = sections.clockOffset;
  return true;
}

bool readStateFile(const std::filesystem::path& path, Machine& m, const StateNameCheck& acceptName,
                   StateHeader& header, std::string& error) {
  std::error_code failure;
  const std::uintmax_t size = std::filesystem::file_size(path, failure);
  if (failure) {
    error = "cannot open " + path.string();
    return false;
  }
  if (size > kStateFixedBytes + 2 * std::size_t{kStateNameMaxChars}) {
    error = "Invalid state file";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!in || static_cast<std::size_t>(in.gcount()) != bytes.size()) {
    error = "cannot read " + path.string();
    return false;
  }
  return decodeState(m, bytes, acceptName, header, error);
}

}  // namespace tavrel::machine
