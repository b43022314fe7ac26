// The state-file layout: magic, name, clock offset, the record, RAM, port 1, display memory
// and the seven flash banks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "Machine.h"

namespace tavrel::machine {

inline constexpr char kStateMagic[8] = {'s', '#', 't', 'a', 'v', 'r', 'e', 'l'};
inline constexpr std::size_t kStateBankBytes = 131072;
// Everything but the name: magic, n, clock offset, record size, record and memories.
inline constexpr std::size_t kStateFixedBytes = 8 + 4 + 8 + 4 + kVendelMachineImageSize +
                                                kPort0Bytes + kPort12Bytes + kDisp0Bytes +
                                                kRomBankCount * kStateBankBytes;
static_assert(kStateFixedBytes == 1318904);
// Names longer than this are not state files we write or accept.
inline constexpr uint32_t kStateNameMaxChars = 4096;

struct StateHeader {
  std::u16string name;
  int64_t clockOffset = 0;
};

// The whole file as bytes.
std::vector<uint8_t> encodeState(const Machine& m, std::u16string_view name, int64_t clockOffset);
// Writes through a temporary file in the same folder, renamed into place.
bool writeStateFile(const std::filesystem::path& path, const Machine& m, std::u16string_view name,
                    int64_t clockOffset, std::string& error);

// Where the parts of a state file lie: byte offsets of the record and of each memory.
struct StateSections {
  std::u16string name;
  int64_t clockOffset = 0;
  std::size_t record = 0;
  std::size_t port0 = 0;
  std::size_t port1 = 0;
  std::size_t disp0 = 0;
  std::size_t banks = 0;  // the seven banks follow each other, kStateBankBytes each
};

// Checks the magic, the whole length and the record size; false with error when one is wrong.
bool locateStateSections(std::span<const uint8_t> bytes, StateSections& sections,
                         std::string& error);

// Decides whether a state with this name may be loaded (the name check of the caller).
using StateNameCheck = std::function<bool(const std::u16string& name)>;

// Checks the whole image (magic, length, record size) before anything is changed; then loads
// it into m, keeping m's own buffers and host, rebuilds the map and makes the processor state
// consistent. On failure m is untouched and error says why.
bool decodeState(Machine& m, std::span<const uint8_t> bytes, const StateNameCheck& acceptName,
                 StateHeader& header, std::string& error);
bool readStateFile(const std::filesystem::path& path, Machine& m, const StateNameCheck& acceptName,
                   StateHeader& header, std::string& error);

}  // namespace tavrel::machine
