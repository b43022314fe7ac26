// The ROM image file: a header byte n, seven bank sizes in kilobytes, the banks from 1 + n.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "Machine.h"

namespace tavrel::machine {

// The file is placed in the ROM area so that bank 0 starts on a 4096-byte boundary (banks are
// whole kilobytes apart, so every page pointer is word-aligned). The area holds the furthest
// bank a header can describe (4096 + 6 * 255 KB) plus one whole bank window, so every page a
// window shows lies inside it; bytes past the file stay zero.
inline constexpr std::size_t kRomAreaBytes = 0x1A0000;
static_assert(kRomAreaBytes >= 4096 + 6 * 255 * 1024 + 64 * kPageBytes);

struct RomLoad {
  bool opened = false;
  bool truncated = false;  // the file was longer than kRomMaxBytes; the rest was ignored
  std::size_t bytes = 0;
  std::string message;  // why it could not be read, empty when it was
};

// Reads at most kRomMaxBytes of the file into m.rom (cleared first) and builds the bank table.
RomLoad loadRomFile(Machine& m, const std::filesystem::path& path);
// Same from bytes already in memory (at most kRomMaxBytes of them are used). Bank k starts at
// 1 + n + the sizes of banks 0..k-1 of the image; vm.romBanks gets their image addresses.
void loadRomImage(Machine& m, std::span<const uint8_t> image);

}  // namespace tavrel::machine
