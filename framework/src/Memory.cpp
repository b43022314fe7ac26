#include "tavrel/Memory.h"

#include <unistd.h>

#include <string>

namespace tavrel {

CMemory::CMemory() : lock_(openNamedLock(processLockName())) {}

std::u16string CMemory::processLockName() {
  std::u16string name = u"TAvrelLock";
  for (char digit : std::to_string(static_cast<long long>(::getpid()))) {
    name.push_back(static_cast<char16_t>(digit));
  }
  return name;
}

}  // namespace tavrel
