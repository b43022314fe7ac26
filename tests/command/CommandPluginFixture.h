#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tavrel/DynamicLibrary.h"
#include "tavrel/command/PluginEntry.h"
#include "tavrel/excpt/ExceptionHub.h"

namespace tavrel::test {

// Loads the built components/command.so and imports it the way the shell's loader does;
// tears it down with closeLibrary and an unload.
class CommandPluginTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // closeLibrary once; the fixture does not call it again.
  void closePlugin();

  // Registers a command the way every plug-in does. False when the registry refused it.
  template <class F>
  bool registerCommand(const std::u16string& name, F handler,
                       fn::IFunctionBase* description = nullptr) {
    ICommandBase* command =
        commands.createCommand(name, handler.detach(), description, fn::ParameterList{});
    return commands.getRegistry()->add(command);
  }

  ICommandDispatcher& dispatcher() { return *commands.getDispatcher(); }
  ICommandRegistry& registry() { return *commands.getRegistry(); }
  ICommandCache& cache() { return *commands.getCache(); }

  // Runs a line with standard error captured; returns what was written there.
  std::string lineErrors(const std::u16string& line, void** result = nullptr);

  excpt::CExceptionHub hub;
  CommandInterface commands;
  CDynamicLibrary library;
  ImportEntry* importEntry = nullptr;
  CloseLibraryEntry* closeEntry = nullptr;

 private:
  bool closed_ = false;
};

// A value that tells whether the handler holding it has been released.
struct ReleaseProbe {
  std::shared_ptr<int> held = std::make_shared<int>(0);
  std::weak_ptr<int> watch = held;
  bool released() const { return watch.expired(); }
};

}  // namespace tavrel::test
