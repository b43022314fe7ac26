#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tavrel/DynamicLibrary.h"
#include "tavrel/command/PluginEntry.h"
#include "tavrel/excpt/ExceptionHub.h"
#include "tavrel/xml/ContentHandler.h"
#include "tavrel/xml/System.h"

namespace tavrel::skintest {

// Loads the built command and XML plug-ins as the shell does and runs each test in a fresh
// temporary folder that is current while the test runs.
class ShellPluginsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes text into a file below the test folder, making its folders.
  void write(const std::filesystem::path& relative, const std::string& text) const;

  // Registers a command whose handler appends "<name> <argument>" to the calls.
  void recordCommand(const std::u16string& name);
  // The id the command cache gives a line.
  std::uint16_t idOf(const std::u16string& line) { return commands.getCache()->id(line); }

  ICommandDispatcher& dispatcher() { return *commands.getDispatcher(); }

  excpt::CExceptionHub hub;
  CommandInterface commands;
  xml::System xml;
  std::filesystem::path folder;
  std::vector<std::u16string> calls;

 private:
  CDynamicLibrary commandLibrary_;
  CDynamicLibrary xmlLibrary_;
  std::filesystem::path previousFolder_;
};

// The text, as the wide text the shell uses.
std::u16string u16(const std::string& text);

// Collects the element names of the parts the shell hands to other services.
class ElementRecorder final : public xml::IXMLSAXContentHandler {
 public:
  explicit ElementRecorder(std::vector<std::u16string>& seen) : seen_(seen) {}
  void startElement(xml::IXMLParserContext&, const std::u16string& name,
                    const xml::IXMLAttributeList&) override {
    seen_.push_back(name);
  }
  void endElement(const std::u16string&, const std::u16string&) override {}

 private:
  std::vector<std::u16string>& seen_;
};

}  // namespace tavrel::skintest
