// vdis ROM [--from ADDR] [--to ADDR] [-o OUT]
// vdis --state FILE --region port0|port1|display|bank0..bank6 [--from ADDR] [--to ADDR] [-o OUT]
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Disassembler.h"
#include "FileIo.h"
#include "RomImage.h"
#include "StateFile.h"

namespace {

constexpr size_t kMaxStateBytes = 4u << 20;
constexpr int64_t kBankNibbles = tavrel::vasm::kRomBankNibbles;

int usage() {
  std::fprintf(stderr,
               "usage: vdis ROM [--from ADDR] [--to ADDR] [-o OUT]\n"
               "       vdis --state FILE --region port0|port1|display|bank0..bank6 "
               "[--from ADDR] [--to ADDR] [-o OUT]\n"
               "ADDR is hexadecimal (#, 0x or bare digits); --to is exclusive\n");
  return 2;
}

std::optional<int64_t> parseAddress(std::string text) {
  if (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0) {
    text = text.substr(2);
  } else if (!text.empty() && text[0] == '#') {
    text = text.substr(1);
  }
  if (text.empty() || text.size() > 8 ||
      text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
    return std::nullopt;
  }
  return std::stoll(text, nullptr, 16);
}

// ROM offsets of banks 4-6 lie past the address space; they run in the high window.
std::string disassembleRom(const std::vector<uint8_t>& nibbles, int64_t from, int64_t to) {
  std::string out;
  for (int64_t start = from; start < to;) {
    const int64_t bank = start / kBankNibbles;
    const int64_t end = std::min(to, (bank + 1) * kBankNibbles);
    tavrel::vdis::Region region;
    region.nibbles = std::span<const uint8_t>(nibbles).subspan(static_cast<size_t>(start),
                                                               static_cast<size_t>(end - start));
    region.address = bank < 4 ? start : kBankNibbles + (start % kBankNibbles);
    region.bank = bank < 4 ? -1 : static_cast<int>(bank);
    out += tavrel::vdis::disassemble(region);
    start = end;
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  std::string input;
  std::string statePath;
  std::string regionName;
  std::string outPath;
  std::optional<int64_t> from;
  std::optional<int64_t> to;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if ((arg == "--from" || arg == "--to") && hasValue) {
      const auto value = parseAddress(argv[++i]);
      if (!value) {
        return usage();
      }
      (arg == "--from" ? from : to) = value;
    } else if (arg == "--state" && hasValue) {
      statePath = argv[++i];
    } else if (arg == "--region" && hasValue) {
      regionName = argv[++i];
    } else if (arg == "-o" && hasValue) {
      outPath = argv[++i];
    } else if (!arg.empty() && arg[0] != '-' && input.empty()) {
      input = arg;
    } else {
      return usage();
    }
  }
  if (statePath.empty() == input.empty() || statePath.empty() != regionName.empty()) {
    return usage();
  }

  std::vector<uint8_t> file;
  std::string error;
  std::string text;
  if (!input.empty()) {
    std::vector<uint8_t> nibbles;
    error = tavrel::vasm::readFileBounded(input, tavrel::vasm::kRomMaxBytes, file);
    if (error.empty()) {
      error = tavrel::vasm::readRomImage(file, nibbles);
    }
    if (error.empty()) {
      const auto size = static_cast<int64_t>(nibbles.size());
      text = disassembleRom(nibbles, std::clamp<int64_t>(from.value_or(0), 0, size),
                            std::clamp<int64_t>(to.value_or(size), 0, size));
    }
  } else {
    tavrel::vdis::StateRegion state;
    error = tavrel::vasm::readFileBounded(statePath, kMaxStateBytes, file);
    if (error.empty()) {
      error = tavrel::vdis::readStateRegion(file, regionName, state);
    }
    if (error.empty()) {
      const int64_t first = state.address;
      const int64_t last = state.address + static_cast<int64_t>(state.nibbles.size());
      const int64_t start = std::clamp<int64_t>(from.value_or(first), first, last);
      const int64_t end = std::clamp<int64_t>(to.value_or(last), start, last);
      tavrel::vdis::Region region;
      region.nibbles =
          std::span<const uint8_t>(state.nibbles)
              .subspan(static_cast<size_t>(start - first), static_cast<size_t>(end - start));
      region.address = start;
      region.bank = state.bank >= 4 ? state.bank : -1;
      text = tavrel::vdis::disassemble(region);
    }
  }
  if (error.empty() && !outPath.empty()) {
    error = tavrel::vasm::writeFileReplacing(outPath, text);
  } else if (error.empty()) {
    std::fwrite(text.data(), 1, text.size(), stdout);
  }
  if (!error.empty()) {
    std::fprintf(stderr, "vdis: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
