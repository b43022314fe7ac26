#pragma once

#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <string>

#include "tavrel/DynamicLibrary.h"
#include "tavrel/Registry.h"
#include "tavrel/command/PluginEntry.h"

namespace tavrel::test {

// The built command.so plus the service plug-ins a test loads, imported as the shell does
// over a settings store in a fresh temporary folder, closed and unloaded in reverse order.
class ServicePluginTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Loads components/<file> and calls its import.
  void loadPlugin(const char* file);
  // Runs closeLibrary of every loaded service plug-in now (TearDown does not again).
  void closePlugins();

  void* run(const std::u16string& line) { return commands.getDispatcher()->executeLine(line, 1); }
  // Registers a command as another plug-in would.
  template <class F>
  void registerCommand(const std::u16string& name, F handler) {
    ICommandBase* command =
        commands.createCommand(name, handler.detach(), nullptr, fn::ParameterList{});
    ASSERT_TRUE(commands.getRegistry()->add(command));
  }

  std::string folder;
  std::unique_ptr<CRegistry> settings;
  excpt::CExceptionHub hub;
  CommandInterface commands;

 private:
  CDynamicLibrary command_;
  std::list<CDynamicLibrary> plugins_;
  bool pluginsClosed_ = false;
};

}  // namespace tavrel::test
