#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "SkinWindow.h"
#include "tavrel/gui/Window.h"

namespace tavrel::gui {

// The skin windows by class, their show modes and the message loop. GUI thread only, except
// quit(), which any thread may call.
class CWindowManager final : public IWindowManager {
 public:
  using WindowCreated = std::function<void(CSkinWindow&)>;

  CWindowManager() = default;
  ~CWindowManager();
  CWindowManager(const CWindowManager&) = delete;
  CWindowManager& operator=(const CWindowManager&) = delete;

  IWindow* createWindow(const std::u16string& windowClass,
                        const SkinViewDescription& view) override;
  IWindow* window(const std::u16string& windowClass) override { return skinWindow(windowClass); }
  void show(const std::u16string& windowClass, int mode) override;
  void setTopmost(bool topmost) override;
  int run(const std::function<bool()>& stopWhen) override;
  void quit(int exitCode) override;

  CSkinWindow* skinWindow(const std::u16string& windowClass) const;
  // The visible skin window, the windowed one first; null when none is shown.
  CSkinWindow* shownWindow() const;
  // Called for every new window, e.g. to give it its menu bar.
  void setWindowCreated(WindowCreated handler) { created_ = std::move(handler); }
  // Closes and destroys every window now.
  void destroyAll();

 private:
  void forget(CSkinWindow& window);

  std::map<std::u16string, CSkinWindow*> windows_;
  WindowCreated created_;
  bool topmost_ = false;
  std::atomic<bool> quitRequested_ = false;
  std::atomic<int> exitCode_ = 0;
};

}  // namespace tavrel::gui
