// statfolio: the statistics folio exporter without windows.
#include <cstdio>
#include <string>

#include "Commands.h"

namespace {

using tavrel::statfolio::Command;

constexpr Command kCommands[] = {
    {"csv", "statfolio csv INPUT OUTPUT.csv [--bare] [--name TEXT] [--pick TITLE]",
     tavrel::statfolio::runCsvCommand},
    {"receive",
     "statfolio receive --port DEVICE OUTPUT.csv [--status-delay-ms N] [--header-wait-ms N]",
     tavrel::statfolio::runReceiveCommand},
};

int usage() {
  std::fputs("usage:\n", stderr);
  for (const Command& command : kCommands) {
    std::fprintf(stderr, "  %.*s\n", static_cast<int>(command.usage.size()), command.usage.data());
  }
  return tavrel::statfolio::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    return usage();
  }
  const std::string name = argv[1];
  for (const Command& command : kCommands) {
    if (command.name == name) {
      const int status = command.run(tavrel::statfolio::Arguments(argv + 2, argv + argc));
      return status == tavrel::statfolio::kExitUsage ? usage() : status;
    }
  }
  return usage();
}
