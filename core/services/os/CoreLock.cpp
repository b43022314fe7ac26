#include "CoreLock.h"

namespace tavrel::os {

CThreadLock& coreLock() {
  static CThreadLock lock;
  return lock;
}

}  // namespace tavrel::os
