#pragma once

#include <string>

#include "tavrel/Export.h"
#include "tavrel/IResource.h"
#include "tavrel/fn/ParameterList.h"

namespace tavrel {

// A named command: its handler, an optional description handler and its bound arguments.
// Made by CommandInterface::createCommand; owned by whoever holds it until it is handed to
// ICommandRegistry::add, and by the registry from then on (never release() it after that).
class TAVREL_API ICommandBase : public IResource {
 public:
  // The arguments used when the command object itself is executed
  // (ICommandDispatcher::executeCommand); a command line brings its own.
  virtual void setParameters(const fn::ParameterList& parameters) = 0;

  virtual std::u16string name() const = 0;
  // The description handler's text for an argument, such as "Pressed key ON" for "KEY_ON";
  // empty when the command has no description handler.
  virtual std::u16string describe(const std::u16string& argument) = 0;
};

}  // namespace tavrel
