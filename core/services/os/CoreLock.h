// The core lock: one in-process lock that guards the task table, the sleep table, mutex
// owners, the main-task pointer, the timer-handler slots and the display block's allocation.
// Where the timer lock is needed too, the core lock is taken first.
#pragma once

#include "tavrel/ThreadLock.h"

namespace tavrel::os {

CThreadLock& coreLock();

}  // namespace tavrel::os
