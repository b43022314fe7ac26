// Command line of vendel-run. Each mode has its own options; parsing reports the first
// problem in words.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavrel::vendelrun {

enum class RunMode {
  Deterministic,  // exactly N steps on the calling thread, nothing else running
  Realtime,       // the real core plug-in for a number of milliseconds, with keys
};

struct RunOptions {
  RunMode mode = RunMode::Deterministic;
  std::filesystem::path rom;
  uint64_t steps = 0;
  std::optional<std::filesystem::path> stateIn;
  std::optional<std::filesystem::path> stateOut;
  bool printRegisters = false;
  // Real-time mode.
  uint64_t realtimeMs = 0;
  std::optional<std::string> keyScript;
  bool lcdText = false;
  std::optional<std::filesystem::path> lcdPng;
  // The throttle position 0..4 (half, real, 2x, 4x calculator speed, maximum), set through
  // the core's preference page before the boot; empty leaves the core unthrottled.
  std::optional<int> speed;
};

struct ParsedArguments {
  std::optional<RunOptions> options;  // empty when error says why
  std::string error;
};

ParsedArguments parseArguments(const std::vector<std::string>& arguments);

inline constexpr const char* kUsage =
    "usage: vendel-run --rom FILE --steps N [--state-out FILE] [--state-in FILE] "
    "[--print-regs]\n"
    "       vendel-run --rom FILE --realtime MS [--speed 0-4] [--keys SCRIPT] [--lcd-text] "
    "[--lcd-png FILE] [--state-in FILE] [--state-out FILE]\n";

}  // namespace tavrel::vendelrun
