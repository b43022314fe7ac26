#pragma once

#include <atomic>
#include <string>

#include "app/GuiBinding.h"
#include "app/ShellCommands.h"

namespace tavrel {

// The window that receives input, the program's quit flag and the message loop, with the
// commands "close_app", "refocus", "clear_updates", "shutdn" and "shutdnoff".
class CEventHandler {
 public:
  CEventHandler(CommandInterface& commands, const CGuiBinding& gui);
  CEventHandler(const CEventHandler&) = delete;
  CEventHandler& operator=(const CEventHandler&) = delete;

  // The window class of the view shown now; empty while there is none.
  void setInputWindow(std::u16string windowClass) { inputWindow_ = std::move(windowClass); }
  const std::u16string& inputWindowClass() const { return inputWindow_; }
  // Null while there is no input window or it is closed.
  gui::IWindow* inputWindow() const;

  // "close_app": closes the input window and ends the message loop with exit code 0;
  // nothing while there is no input window.
  void closeApp();
  void setQuitFlag() { quit_.store(true); }
  bool quitFlag() const { return quit_.load(); }

  // The message loop, until the quit flag is set or the loop is told to quit. A framework
  // exception that reaches it is reported through its handler and the loop goes on.
  int run();

  // Set by "shutdn", cleared by "shutdnoff".
  bool shutdownFlag() const { return shutdown_.load(); }
  // Set when the left button goes down on a skin.
  void setMouseDown() { mouseDown_ = true; }
  bool mouseDown() const { return mouseDown_; }

 private:
  void refocus();
  void clearUpdates();

  const CGuiBinding& gui_;
  std::u16string inputWindow_;
  std::atomic<bool> quit_{false};
  std::atomic<bool> shutdown_{false};
  bool mouseDown_ = false;
  CShellCommandSet commands_;
};

}  // namespace tavrel
