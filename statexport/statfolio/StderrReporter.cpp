#include "StderrReporter.h"

#include <cstdio>

namespace tavrel::statfolio {

void StderrReporter::reportError(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
}

}  // namespace tavrel::statfolio
