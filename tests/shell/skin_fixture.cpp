#include "skin_fixture.h"

#include <cstdlib>
#include <fstream>

#include "tavrel/Text.h"

namespace tavrel::skintest {
namespace {

namespace fs = std::filesystem;

std::u16string componentPath(const char* file) {
  const char* buildDir = std::getenv("TAVREL_BUILD_DIR");
  return fromUtf8(buildDir != nullptr ? buildDir : ".") + u"/components/" + fromUtf8(file);
}

}  // namespace

std::u16string u16(const std::string& text) {
  return fromUtf8(text);
}

void ShellPluginsTest::SetUp() {
  ASSERT_NE(std::getenv("TAVREL_BUILD_DIR"), nullptr) << "TAVREL_BUILD_DIR is not set";
  ASSERT_TRUE(commandLibrary_.load(componentPath("command.so"))) << toUtf8(commandLibrary_.error());
  auto importCommands = commandLibrary_.resolveFunction<ImportEntry*>(kImportExport);
  ASSERT_NE(importCommands, nullptr);
  importCommands(&hub, &commands);

  ASSERT_TRUE(xmlLibrary_.load(componentPath("xml.so"))) << toUtf8(xmlLibrary_.error());
  auto loadXml =
      xmlLibrary_.resolveFunction<xml::LoadXMLSubsystemEntry*>(xml::kLoadXMLSubsystemExport);
  ASSERT_NE(loadXml, nullptr);
  loadXml(&xml);

  std::string pattern = (fs::temp_directory_path() / "tavrel-shell-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  folder = fs::canonical(pattern);
  previousFolder_ = fs::current_path();
  fs::current_path(folder);
}

void ShellPluginsTest::TearDown() {
  if (!previousFolder_.empty()) {
    fs::current_path(previousFolder_);
  }
  if (!folder.empty()) {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  if (auto close = xmlLibrary_.resolveFunction<CloseLibraryEntry*>(kCloseLibraryExport)) {
    close();
  }
  xmlLibrary_.unload();
  if (auto close = commandLibrary_.resolveFunction<CloseLibraryEntry*>(kCloseLibraryExport)) {
    close();
  }
  commandLibrary_.unload();
}

void ShellPluginsTest::write(const fs::path& relative, const std::string& text) const {
  const fs::path file = folder / relative;
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

void ShellPluginsTest::recordCommand(const std::u16string& name) {
  fn::Function<fn::ret<void>, std::u16string> handler(
      [this, name](std::u16string argument) { calls.push_back(name + u" " + argument); });
  ICommandBase* command =
      commands.createCommand(name, handler.detach(), nullptr, fn::ParameterList{});
  ASSERT_NE(command, nullptr);
  ASSERT_TRUE(commands.getRegistry()->add(command));
}

}  // namespace tavrel::skintest
