// The core's own copy of the command service's functions, taken in import and used for every
// later registration, unregistration and command line.
#pragma once

#include <string>

#include "tavrel/command/CommandInterface.h"

namespace tavrel::core {

class CoreCommandLink {
 public:
  // Copies the four functions and the settings key path.
  void bind(const CommandInterface& commands);
  void unbind();

  const std::u16string& settingsKeyPath() const { return settingsKeyPath_; }
  // Null when the service is not there.
  ICommandRegistry* registry() const;
  ICommandDispatcher* dispatcher() const;
  // Makes a command from a handler (ownership passes, also on failure); null on failure.
  ICommandBase* createCommand(const std::u16string& name, fn::IFunctionBase* handler) const;
  // Runs a command line; null when it gave no result or there is no dispatcher.
  void* executeLine(const std::u16string& line, int flag) const;

 private:
  std::u16string settingsKeyPath_;
  CommandInterface functions_;
};

}  // namespace tavrel::core
