#pragma once

#include <string>
#include <vector>

namespace tavrel {

// A command line taken apart: the command name and its arguments with every "#" turned
// back into the blank it stands for.
struct CommandLine {
  std::u16string name;
  std::vector<std::u16string> arguments;
};

// Splits at every single space, so "a  b" carries an empty first argument; an empty
// argument is still an argument and counts against the handler's parameters.
CommandLine splitCommandLine(const std::u16string& line);

}  // namespace tavrel
