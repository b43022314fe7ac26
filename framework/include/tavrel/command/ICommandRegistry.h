#pragma once

#include <string>

#include "tavrel/Export.h"
#include "tavrel/command/ICommandBase.h"

namespace tavrel {

// The named commands of the process. Safe to use from any thread.
class TAVREL_API ICommandRegistry {
 public:
  // The registered command of that name, or null. The registry keeps ownership; the pointer
  // stays valid until the name is removed.
  virtual ICommandBase* get(const std::u16string& name) = 0;
  // Takes ownership of the command in every case. A name that is already registered keeps
  // its first command: the new one is released, one line goes to standard error and the
  // result is false.
  virtual bool add(ICommandBase* command) = 0;
  // Releases the command of that name; false when no such name is registered.
  virtual bool remove(const std::u16string& name) = 0;

 protected:
  ~ICommandRegistry() = default;
};

}  // namespace tavrel
