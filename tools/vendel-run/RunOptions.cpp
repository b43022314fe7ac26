#include "RunOptions.h"

#include <charconv>
#include <functional>
#include <map>

namespace tavrel::vendelrun {

namespace {

std::optional<uint64_t> parseCount(const std::string& text) {
  uint64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, value);
  if (text.empty() || failure != std::errc() || stop != end)
    return std::nullopt;
  return value;
}

// An option that takes a value stores it; the result is an error text or empty.
using ValueOption = std::function<std::string(RunOptions&, const std::string&)>;

const std::map<std::string, ValueOption>& valueOptions() {
  static const std::map<std::string, ValueOption> options = {
      {"--rom",
       [](RunOptions& o, const std::string& v) {
         o.rom = v;
         return std::string();
       }},
      {"--steps",
       [](RunOptions& o, const std::string& v) {
         const auto count = parseCount(v);
         if (!count)
           return "--steps needs a whole number of instructions, not \"" + v + "\"";
         o.steps = *count;
         return std::string();
       }},
      {"--realtime",
       [](RunOptions& o, const std::string& v) {
         const auto count = parseCount(v);
         if (!count)
           return "--realtime needs a whole number of milliseconds, not \"" + v + "\"";
         o.mode = RunMode::Realtime;
         o.realtimeMs = *count;
         return std::string();
       }},
      {"--speed",
       [](RunOptions& o, const std::string& v) {
         const auto position = parseCount(v);
         if (!position || *position > 4)
           return "--speed needs a position from 0 (half speed) to 4 (maximum), not \"" + v + "\"";
         o.speed = static_cast<int>(*position);
         return std::string();
       }},
      {"--keys",
       [](RunOptions& o, const std::string& v) {
         o.keyScript = v;
         return std::string();
       }},
      {"--lcd-png",
       [](RunOptions& o, const std::string& v) {
         o.lcdPng = v;
         return std::string();
       }},
      {"--state-in",
       [](RunOptions& o, const std::string& v) {
         o.stateIn = v;
         return std::string();
       }},
      {"--state-out",
       [](RunOptions& o, const std::string& v) {
         o.stateOut = v;
         return std::string();
       }},
  };
  return options;
}

}  // namespace

ParsedArguments parseArguments(const std::vector<std::string>& arguments) {
  RunOptions options;
  bool haveRom = false;
  bool haveSteps = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& name = arguments[i];
    if (name == "--print-regs") {
      options.printRegisters = true;
      continue;
    }
    if (name == "--lcd-text") {
      options.lcdText = true;
      continue;
    }
    const auto option = valueOptions().find(name);
    if (option == valueOptions().end())
      return {std::nullopt, "unknown argument \"" + name + "\""};
    if (i + 1 >= arguments.size())
      return {std::nullopt, name + " needs a value"};
    const std::string error = option->second(options, arguments[++i]);
    if (!error.empty())
      return {std::nullopt, error};
    haveRom |= name == "--rom";
    haveSteps |= name == "--steps";
  }
  if (!haveRom)
    return {std::nullopt, "--rom is required"};
  if (options.mode == RunMode::Realtime) {
    if (haveSteps || options.printRegisters)
      return {std::nullopt,
              "--steps and --print-regs belong to the deterministic mode, not --realtime"};
    return {options, {}};
  }
  if (!haveSteps)
    return {std::nullopt, "--steps is required"};
  if (options.keyScript || options.lcdText || options.lcdPng || options.speed)
    return {std::nullopt, "--keys, --lcd-text, --lcd-png and --speed need --realtime"};
  return {options, {}};
}

}  // namespace tavrel::vendelrun
