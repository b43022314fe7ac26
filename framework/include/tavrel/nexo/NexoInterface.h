// The core's interface record: the service table that the core plug-in fills in import and
// the host (shell, GUI service) reads through getNexoInterface. The task, mutex and event
// records are opaque to the host; messages and calendar times are plain records.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "tavrel/fn/Function.h"
#include "tavrel/log/DebugLine.h"

namespace tavrel::os {
struct tag_ThreadInfo;
struct tag_MutexInfo;
struct tag_EventInfo;
}  // namespace tavrel::os

namespace tavrel::nexo {

using os::tag_EventInfo;
using os::tag_MutexInfo;
using os::tag_ThreadInfo;

// A message for the core's queue. Key messages: type 0 (down) or 1 (up), first = the key
// position (row 1-7 in bits 16-18, column 0-7 in bits 0-2), second null.
struct tagMessage {
  std::uint32_t type = 0;
  std::int32_t first = 0;
  void* second = nullptr;
};

inline constexpr std::uint32_t kKeyDownMessage = 0;
inline constexpr std::uint32_t kKeyUpMessage = 1;

// A calendar time of the real-time clock (local time); count is the timer-2 count.
struct datetime {
  std::uint16_t year = 0;
  std::uint8_t month = 1;
  std::uint8_t day = 1;
  std::uint8_t hour = 0;
  std::uint8_t minute = 0;
  std::uint8_t second = 0;
  std::uint32_t count = 0;
};

inline constexpr std::size_t kSharedBlockBytes = 1600;

using Task = tag_ThreadInfo*;
using VoidFunction = fn::Function<fn::ret<void>>;
template <class R, class... P>
using Slot = fn::BasicFunction<R, fn::detail::TypeList<P...>>;  // fn::Function<fn::ret<R>, P...>

struct _NEXOInterface {
  Slot<unsigned> slot0;  // not provided
  Slot<void, datetime*> getDateTime;
  Slot<int, datetime*> setDateTime;
  Slot<void, int> setErrorCode;
  Slot<int> getErrorCode;
  Slot<void, unsigned> slot5;
  Slot<int, unsigned> slot6;
  Slot<void> resetMachine;
  Slot<Task, VoidFunction, unsigned, int, unsigned, const log::_tagDebugLine&, std::u16string>
      createTask;
  Slot<int, Task> endTask;
  Slot<int, Task, unsigned> slot10;  // not provided
  Slot<int, Task> getTaskPriority;
  Slot<void> slot12;  // not provided
  Slot<int, Task> suspendTask;
  Slot<int, Task> resumeTask;
  Slot<int, Task, unsigned> sleepTask;
  Slot<int, Task> releaseTask;
  Slot<Task> currentTask;
  Slot<tag_MutexInfo*> createMutex;
  Slot<int, tag_MutexInfo*> destroyMutex;
  Slot<int, tag_MutexInfo*, unsigned, unsigned> lockMutex;
  Slot<int, tag_MutexInfo*> unlockMutex;
  // The owner's address (or -1 for a null mutex): pointer-sized, as an address needs.
  Slot<std::intptr_t, tag_MutexInfo*> mutexOwner;
  Slot<void*, unsigned, unsigned> slot23;       // not provided
  Slot<int, void*> slot24;                      // not provided
  Slot<int, void*, unsigned, unsigned> slot25;  // not provided
  Slot<int, void*> slot26;                      // not provided
  Slot<int, void*> slot27;                      // not provided
  Slot<tag_EventInfo*, unsigned, unsigned> createEvent;
  Slot<int, tag_EventInfo*> destroyEvent;
  Slot<int, tag_EventInfo*> setEvent;
  Slot<int, tag_EventInfo*> resetEvent;
  Slot<int, tag_EventInfo*> slot32;  // not provided
  Slot<int, tag_EventInfo*> pollEvent;
  Slot<int, tag_EventInfo*, unsigned> waitEvent;
  Slot<int, Task, tagMessage*> postMessage;
  Slot<int, Task, tagMessage*> postMessage2;  // the same function as postMessage
  Slot<int, Task, unsigned, int, void*> sendMessage;
  Slot<int, Task, unsigned, int, void*> sendMessage2;  // the same function as sendMessage
  Slot<int, tagMessage*> receiveMessage;
  Slot<int, tagMessage*> slot40;
  Slot<int, unsigned char*> slot41;
  Slot<unsigned, unsigned> startTickTimer;
  Slot<int, unsigned> stopTickTimer;
  Slot<void*, datetime*> slot44;
  Slot<int, void*> slot45;
  Slot<VoidFunction, unsigned, VoidFunction> setTimerHandler;
  Slot<void, unsigned, unsigned> setTimerValue;
  Slot<unsigned, unsigned> getTimerValue;
  Slot<void, unsigned> startTimer;
  Slot<void, unsigned> stopTimer;
  Slot<unsigned char*> sharedBlock;
  Slot<void, unsigned> slot52;
  Slot<unsigned> slot53;
  Slot<int, unsigned, unsigned, unsigned> slot54;
  Slot<unsigned> slot55;              // not provided
  Slot<int, unsigned char*> slot56;   // not provided
  Slot<void, unsigned char*> slot57;  // not provided
  Slot<Task, Task> setMainTask;
  Slot<Task> mainTask;
  Slot<void, unsigned char*, unsigned> slot60;  // not provided
  Slot<void> slot61;                            // not provided
  Slot<unsigned> slot62;
  Slot<int> slot63;             // not provided
  Slot<void, unsigned> slot64;  // not provided
  Slot<void, unsigned> slot65;  // not provided

  // Set by the host, called by the core with an empty ParameterList after every display
  // refresh and annunciator update, on the core task that made the change; null: not called.
  fn::IFunctionBase* displayChanged = nullptr;
  // The display lock: the core writes the shared block under it and the host copies the
  // block under it. Never held while displayChanged runs.
  std::mutex* displayLock = nullptr;
};

inline constexpr std::size_t kInterfaceSlotCount = 66;
// Every slot is one function object of one pointer; the host's hook and the lock follow.
static_assert(sizeof(_NEXOInterface) ==
                  kInterfaceSlotCount * sizeof(VoidFunction) + 2 * sizeof(void*),
              "the interface record holds exactly 66 slots before displayChanged");

}  // namespace tavrel::nexo
