// The shell over the real service plug-ins of the build, with Qt's off-screen platform on a
// 1024 x 768 screen, its own settings folders and a scripted host UI.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Shell.h"
#include "tavrel/ScriptedHostUi.h"
#include "tavrel/command/ICommandObserver.h"

namespace tavrel::apptest {

// Command lines seen by the dispatcher, in order.
class LineRecorder final : public ICommandObserver {
 public:
  void lineExecuted(const std::u16string&, const std::u16string& line) override {
    lines.push_back(line);
  }
  std::vector<std::u16string> lines;
};

class ShellAppTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A shell over the loaded plug-ins; the one made before goes first (saving on exit).
  CShell& newShell();
  // Runs the shell; inLoop runs once the message loop has started, then the windowed skin
  // window is closed as a user closes it.
  int runThenClose(const std::function<void(CShell&)>& inLoop = {});
  // Delivers a message to the skin window of that class through its window procedure.
  std::optional<std::intptr_t> deliver(const std::u16string& windowClass,
                                       gui::WindowMessage message);
  gui::IWindow* window(const std::u16string& windowClass);

  // Texts of the message boxes shown so far.
  std::vector<std::u16string> messages() const;
  std::size_t saveDialogs() const;
  static std::filesystem::path buildFolder();

  QTemporaryDir folder;
  std::unique_ptr<CRegistry> registry;
  excpt::CExceptionHub hub;
  CommandInterface commands;
  xml::System xml;
  std::unique_ptr<CLibraryManager> libraries;
  gui::CScriptedHostUi hostUi;
  LineRecorder recorder;
  std::unique_ptr<CShell> shell;

 private:
  gui::IHostUi* replacedHostUi_ = nullptr;
  std::filesystem::path previousFolder_;
};

// A point packed as messages carry it: x in the low half, y in the high half.
std::uint32_t point(std::int32_t x, std::int32_t y);

}  // namespace tavrel::apptest
