#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "loader/LibraryManager.h"
#include "tavrel/Registry.h"
#include "tavrel/command/CommandInterface.h"
#include "tavrel/excpt/ExceptionHub.h"
#include "tavrel/xml/System.h"

namespace tavrel::loadertest {

// Folder of the built program's plug-ins and of the loader's test plug-ins.
std::u16string componentsFolder();
std::u16string testPluginFolder();

// Each test gets a temporary folder with its own settings store and plug-in call log, and a
// library manager over them. The records the plug-ins fill are declared before the manager,
// so they outlive the libraries' closeLibrary.
class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::u16string path(const std::u16string& name) const;
  void writeFile(const std::u16string& name, const std::string& text) const;
  // Lines "import <plug-in>" and "close <plug-in>" in the order the plug-ins wrote them.
  std::vector<std::string> calls() const;
  // Loads the real command and XML services into commands and xml.
  void loadServices();

  QTemporaryDir folder;
  std::unique_ptr<CRegistry> registry;
  excpt::CExceptionHub hub;
  CommandInterface commands;
  xml::System xml;
  std::unique_ptr<CLibraryManager> manager;
};

}  // namespace tavrel::loadertest
