#include "IntegerCompare.h"

#include <cstdlib>

namespace tavrel::statexport {

int compareAsIntegers(const std::string& first, const std::string& second) {
  const long a = std::strtol(first.c_str(), nullptr, 10);
  const long b = std::strtol(second.c_str(), nullptr, 10);
  return a < b ? -1 : (a > b ? 1 : 0);
}

}  // namespace tavrel::statexport
