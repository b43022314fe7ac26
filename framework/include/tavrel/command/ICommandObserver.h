#pragma once

#include <string>

#include "tavrel/Export.h"

namespace tavrel {

// Sees the command lines that run, such as a macro recorder watching "key_down" and
// "key_up". Added to and removed from the dispatcher (ICommandDispatcher::addObserver).
class TAVREL_API ICommandObserver {
 public:
  // A line ran: its handler was called and returned. Lines that could not run, and command
  // objects run with executeCommand, are not seen. Called on the thread that ran the line,
  // after the handler, with no lock of the service held; it should be quick.
  virtual void lineExecuted(const std::u16string& name, const std::u16string& line) = 0;

 protected:
  ~ICommandObserver() = default;
};

}  // namespace tavrel
