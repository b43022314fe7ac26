#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace tavrel::macro {

// One recorded key command: the line as it ran and the time since the step before it.
struct MacroStep {
  std::u16string line;
  std::chrono::steady_clock::duration gap{};
};

using Macro = std::vector<MacroStep>;

}  // namespace tavrel::macro
