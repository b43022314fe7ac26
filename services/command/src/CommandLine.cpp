#include "CommandLine.h"

#include <algorithm>

namespace tavrel {

CommandLine splitCommandLine(const std::u16string& line) {
  CommandLine parts;
  std::size_t nameEnd = line.find(u' ');
  parts.name = line.substr(0, nameEnd);
  std::size_t start = nameEnd;
  while (start != std::u16string::npos) {
    ++start;
    std::size_t end = line.find(u' ', start);
    std::u16string argument =
        line.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start);
    std::replace(argument.begin(), argument.end(), u'#', u' ');
    parts.arguments.push_back(std::move(argument));
    start = end;
  }
  return parts;
}

}  // namespace tavrel
