#include "tavrel/SkinWindow.h"

#include <atomic>
#include <mutex>

namespace tavrel::gui {
namespace {

// Without a shell there is no window; the title is kept for whoever asks.
class UnshownSkinWindow final : public ISkinWindow {
 public:
  void setTitle(const std::u16string& title) override {
    std::lock_guard lock(mutex_);
    title_ = title;
  }
  std::u16string title() const {
    std::lock_guard lock(mutex_);
    return title_;
  }

 private:
  mutable std::mutex mutex_;
  std::u16string title_;
};

UnshownSkinWindow& unshown() {
  static UnshownSkinWindow window;
  return window;
}

std::atomic<ISkinWindow*> installed{nullptr};

}  // namespace

ISkinWindow& skinWindow() {
  ISkinWindow* current = installed.load(std::memory_order_acquire);
  return current != nullptr ? *current : unshown();
}

ISkinWindow* setSkinWindow(ISkinWindow* window) {
  ISkinWindow* previous = installed.exchange(window, std::memory_order_acq_rel);
  return previous != nullptr ? previous : &unshown();
}

std::u16string unshownSkinTitle() {
  return unshown().title();
}

}  // namespace tavrel::gui
