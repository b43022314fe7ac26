#pragma once

#include <cstdint>
#include <string>

#include "tavrel/command/CommandInterface.h"
#include "tavrel/excpt/Exception.h"
#include "tavrel/excpt/ExceptionHub.h"

namespace tavrel::gui {

// What the service keeps of the shell's records between import and closeLibrary.
struct ServiceContext {
  excpt::CExceptionHub* hub = nullptr;
  fn::Function<fn::ret<ICommandDispatcher*>> getDispatcher;
  fn::Function<fn::ret<ICommandRegistry*>> getRegistry;
  fn::Function<fn::ret<ICommandCache*>> getCache;
};

ServiceContext& serviceContext();

// Reports a framework exception through the shell's hub (or its own handler without one):
// toolkit callbacks must never let an exception pass into the toolkit.
void reportFailure(const excpt::IException& failure);

// Runs a command line with the dispatcher flag 1; a framework exception is reported instead
// of passed on. Null when the line could not run or no command service is there.
void* runCommandLine(const std::u16string& line);

// The command cache's id of a line; 0 without a cache.
std::uint16_t commandIdOf(const std::u16string& line);
// Runs a cached id, reporting a framework exception.
void runCommandId(std::uint16_t id);

}  // namespace tavrel::gui
