#include "ErrorLine.h"

#include <cstdio>

#include "tavrel/Text.h"

namespace tavrel {

void writeErrorLine(const std::string& message) {
  std::string line = "command: " + message + "\n";
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}

std::string quoted(const std::u16string& text) {
  return "\"" + toUtf8(text) + "\"";
}

}  // namespace tavrel
