#pragma once

#include <string>

#include "tavrel/Export.h"
#include "tavrel/command/ICommandBase.h"
#include "tavrel/command/ICommandObserver.h"

namespace tavrel {

// Runs commands on the caller's thread. A framework exception raised by a handler passes to
// the caller unchanged. The flag tells where a run comes from (1: the program itself,
// 0: the user's input); the service treats both alike.
class TAVREL_API ICommandDispatcher {
 public:
  // Runs a command line: the name, then arguments separated by single spaces, "#" standing
  // for a blank inside an argument. The argument count must equal the handler's parameter
  // count. Result:
  //  - null for a handler without result, and for a line that could not run (unknown name,
  //    wrong argument count: one line on standard error, no handler called);
  //  - a handler's pointer result as it is (the dispatcher does not own it);
  //  - otherwise a pointer into this thread's result slot, owned by the service and valid
  //    until this thread runs its next command line: std::u16string* for a wide-text result,
  //    std::int64_t* for an integral or bool result (bool as 0 or 1).
  virtual void* executeLine(const std::u16string& line, int flag) = 0;

  // Runs a command object with its bound parameters. True when the handler ran, refined by
  // its result: a bool or integral result gives success when non-zero, a pointer result
  // when non-null.
  virtual bool executeCommand(ICommandBase* command, int flag) = 0;

  // Lets the observer see every line run through executeLine (and so ICommandCache::execute)
  // from now on. The caller keeps ownership; adding an observer twice has no effect.
  virtual void addObserver(ICommandObserver* observer) = 0;
  // Once this returns the observer is not called again: calls in progress on other threads
  // are waited for. It may be called from inside the observer's own call.
  virtual void removeObserver(ICommandObserver* observer) = 0;

 protected:
  ~ICommandDispatcher() = default;
};

}  // namespace tavrel
