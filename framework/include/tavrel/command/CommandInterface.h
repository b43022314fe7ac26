#pragma once

#include <string>

#include "tavrel/command/ICommandBase.h"
#include "tavrel/command/ICommandCache.h"
#include "tavrel/command/ICommandDispatcher.h"
#include "tavrel/command/ICommandRegistry.h"
#include "tavrel/fn/Function.h"
#include "tavrel/fn/ParameterList.h"

namespace tavrel {

// The record every plug-in receives in import. The shell owns it; the command plug-in fills
// the four functions in its import and empties them again in its closeLibrary.
struct CommandInterface {
  // Settings key below which the program's settings live.
  std::u16string settingsKeyPath;
  fn::Function<fn::ret<ICommandDispatcher*>> getDispatcher;
  fn::Function<fn::ret<ICommandRegistry*>> getRegistry;
  fn::Function<fn::ret<ICommandCache*>> getCache;
  // (name, handler, description handler or null, bound parameters) -> a new command owned
  // by the caller, or null with one line on standard error when the name is empty or holds
  // a blank, the handler is null, or the description handler is not
  // std::u16string(std::u16string). Takes ownership of both handlers in every case: pass
  // Function::detach() or a new implementation.
  fn::Function<fn::ret<ICommandBase*>, std::u16string, fn::IFunctionBase*, fn::IFunctionBase*,
               fn::ParameterList>
      createCommand;
};

}  // namespace tavrel
