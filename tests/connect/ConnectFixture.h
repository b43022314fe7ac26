#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tavrel/DynamicLibrary.h"
#include "tavrel/Registry.h"
#include "tavrel/command/PluginEntry.h"
#include "tavrel/io/VirtualPort.h"

namespace tavrel::test {

// The built command.so and connect.so, imported as the shell does, over a settings store in
// a fresh temporary folder.
class ConnectTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes a value below "Connect"; call before the port is asked for.
  void setConnect(const std::u16string& name, const std::u16string& value);
  // "getIOPortForVPort <name>" through the dispatcher, as the core runs it.
  IVirtualPort* portFor(const std::u16string& name);
  // closeLibrary of the connection service, once.
  void closeConnect();

  std::string folder;
  std::unique_ptr<CRegistry> settings;
  excpt::CExceptionHub hub;
  CommandInterface commands;

 private:
  void loadPlugin(CDynamicLibrary& library, const char* file);

  CDynamicLibrary command_;
  CDynamicLibrary connect_;
  bool connectClosed_ = false;
};

// Reads from the port until count bytes have come; a read waits for bytes, so only ask for
// bytes the peer has sent.
std::string readFromPort(IVirtualPort& port, std::size_t count);
bool writeToPort(IVirtualPort& port, const std::string& bytes);

}  // namespace tavrel::test
