// Splits arbitrary UTF-16 text as a command line and checks that joining the pieces again
// gives back the line with every "#" read as a blank.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string line(size / 2, u'\0');
  for (size_t i = 0; i < line.size(); ++i) {
    line[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  const tavrel::CommandLine parts = tavrel::splitCommandLine(line);

  std::u16string joined = parts.name;
  for (const auto& argument : parts.arguments) {
    joined += u' ';
    joined += argument;
  }
  std::u16string expected = line;
  for (size_t i = parts.name.size(); i < expected.size(); ++i) {
    if (expected[i] == u'#') {
      expected[i] = u' ';
    }
  }
  if (joined != expected) {
    std::abort();
  }
  return 0;
}
