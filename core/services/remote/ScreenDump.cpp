#include "ScreenDump.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "Machine.h"
#include "Memory.h"
#include "ProcessorAccess.h"

namespace tavrel::core::remote {
namespace {

constexpr std::size_t kLinesStart = 4;
constexpr int kLines = 64;
constexpr std::size_t kLineBytes = machine::kDisplayLineBytes;
constexpr std::size_t kLinesEnd = kLinesStart + kLines * kLineBytes;  // the checksum's place
constexpr std::uint32_t kLineNibbles = 2 * kLineBytes;
constexpr std::uint8_t kBlockHeader[] = {'S', 0x88, 0x40};

// Copies `lines` display lines as one run of nibbles from `address` into `out`.
void copyNibbleRun(const machine::Machine& m, std::uint32_t address, int lines, std::uint8_t* out) {
  const std::uint32_t nibbles = static_cast<std::uint32_t>(lines) * kLineNibbles;
  for (std::uint32_t i = 0; i < nibbles; i += 2) {
    out[i / 2] = static_cast<std::uint8_t>(machine::readNibbles(m, address + i, 2));
  }
}

// The header band, from byte 4 x headerOffset of disp0; what lies past its end reads as 0.
void copyHeaderBand(const machine::Machine& m, int lines, std::uint8_t* out) {
  const auto* disp0 = reinterpret_cast<const std::uint8_t*>(m.disp0);
  const std::size_t wanted = static_cast<std::size_t>(lines) * kLineBytes;
  const std::size_t start =
      std::min<std::size_t>(4 * std::size_t{m.vm.headerOffset}, machine::kDisp0Bytes);
  const std::size_t available = std::min(wanted, machine::kDisp0Bytes - start);
  std::memcpy(out, disp0 + start, available);
  std::memset(out + available, 0, wanted - available);
}

std::uint16_t nibbleSum(std::span<const std::uint8_t> bytes) {
  std::uint32_t sum = 0;
  for (std::uint8_t byte : bytes)
    sum += (byte & 0xF) + (byte >> 4);
  return static_cast<std::uint16_t>(sum);
}

char hexDigit(std::uint32_t nibble) {
  return "0123456789ABCDEF"[nibble & 0xF];
}

}  // namespace

void buildScreenBlock(machine::Machine& m, std::span<std::uint8_t, kScreenBlockBytes> block) {
  std::memcpy(block.data(), kBlockHeader, sizeof kBlockHeader);
  block[3] = std::atomic_ref<std::uint8_t>(m.vm.annunciators).load();
  {
    // As the display refresh does: read the registers and memory between two instructions.
    machine::ProcessorHold hold(m);
    const machine::VendelMachine& vm = m.vm;
    const int header = static_cast<int>(std::min<std::uint32_t>(vm.headerLines, kLines));
    const int menu = std::clamp(63 - static_cast<int>(vm.lineCount), 0, kLines - header);
    const int main = kLines - header - menu;
    std::uint8_t* line = block.data() + kLinesStart;
    copyHeaderBand(m, header, line);
    line += header * kLineBytes;
    copyNibbleRun(m, vm.displayStart, main, line);
    line += main * kLineBytes;
    copyNibbleRun(m, vm.menuStart, menu, line);
  }
  const std::uint16_t sum = nibbleSum(block.subspan(kLinesStart, kLinesEnd - kLinesStart));
  block[kLinesEnd] = static_cast<std::uint8_t>(sum & 0xFF);
  block[kLinesEnd + 1] = static_cast<std::uint8_t>(sum >> 8);
  block[kLinesEnd + 2] = 'R';
}

void encodeScreenBlock(std::span<const std::uint8_t, kScreenBlockBytes> block,
                       std::span<std::uint8_t, kScreenTextBytes> text) {
  for (std::size_t i = 0; i < block.size(); ++i) {
    text[2 * i] = static_cast<std::uint8_t>(hexDigit(block[i]));
    text[2 * i + 1] = static_cast<std::uint8_t>(hexDigit(block[i] >> 4));
  }
}

}  // namespace tavrel::core::remote
