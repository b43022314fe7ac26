// The subcommands of statfolio. Each takes the arguments after its name and returns the
// exit status; kExitUsage makes the program print the usage.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrel::statfolio {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

using Arguments = std::vector<std::string>;

struct Command {
  std::string_view name;
  std::string_view usage;
  int (*run)(const Arguments& arguments);
};

// statfolio csv INPUT OUTPUT.csv [--bare] [--name TEXT] [--pick TITLE]
int runCsvCommand(const Arguments& arguments);

// statfolio receive --port DEVICE OUTPUT.csv [--status-delay-ms N] [--header-wait-ms N]
int runReceiveCommand(const Arguments& arguments);

}  // namespace tavrel::statfolio
