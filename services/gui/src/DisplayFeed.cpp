#include "DisplayFeed.h"

#include <cstring>

#include "PictureFile.h"
#include "WindowManager.h"

namespace tavrel::gui {
namespace {

std::mutex& hookMutex() {
  static std::mutex mutex;
  return mutex;
}

CDisplayFeed*& hookTarget() {
  static CDisplayFeed* target = nullptr;
  return target;
}

class CDisplayHook final : public fn::ICallable<void> {
 public:
  explicit CDisplayHook(bool owned) : owned_(owned) {}
  void call() override {
    std::lock_guard lock(hookMutex());
    if (CDisplayFeed* feed = hookTarget()) {
      feed->displayChanged();
    }
  }
  fn::IFunctionBase* clone() const override { return new CDisplayHook(true); }
  // The process-wide instance is never deleted: a core may still hold it.
  void release() override {
    if (owned_) {
      delete this;
    }
  }

 private:
  bool owned_;
};

}  // namespace

fn::IFunctionBase* displayHook() {
  static CDisplayHook hook(false);
  return &hook;
}

void setDisplayHookTarget(CDisplayFeed* feed) {
  std::lock_guard lock(hookMutex());
  hookTarget() = feed;
}

CDisplayFeed::CDisplayFeed(CWindowManager& windows) : windows_(windows) {}

CDisplayFeed::~CDisplayFeed() {
  std::lock_guard lock(hookMutex());
  if (hookTarget() == this) {
    hookTarget() = nullptr;
  }
}

void CDisplayFeed::attach(const std::u16string& windowClass, nexo::_NEXOInterface* core,
                          const LCDSettings& lcd, const AnnounciatorSettings& announciators) {
  CSkinWindow* window = windows_.skinWindow(windowClass);
  if (window != nullptr) {
    QImage icons = announciators.image.empty() ? QImage() : loadPicture(announciators.image);
    window->scene().attachDisplay(lcd, announciators, std::move(icons));
  }
  const unsigned char* block =
      core != nullptr && !core->sharedBlock.empty() ? core->sharedBlock() : nullptr;
  {
    std::lock_guard lock(mutex_);
    windowClass_ = windowClass;
    block_ = block;
    displayLock_ = core != nullptr ? core->displayLock : nullptr;
  }
  setDisplayHookTarget(this);
  if (core != nullptr && core->displayChanged != displayHook()) {
    core->displayChanged = displayHook();
  }
  forceUpdate();
}

void CDisplayFeed::copyBlock(DisplayBlock& into) {
  if (block_ == nullptr) {
    return;
  }
  if (displayLock_ != nullptr) {
    std::lock_guard lock(*displayLock_);
    std::memcpy(into.data(), block_, into.size());
  } else {
    std::memcpy(into.data(), block_, into.size());
  }
}

void CDisplayFeed::displayChanged() {
  std::lock_guard lock(mutex_);
  copyBlock(latest_);
  if (!pending_) {
    pending_ = true;
    QMetaObject::invokeMethod(
        this, [this] { deliver(); }, Qt::QueuedConnection);
  }
}

void CDisplayFeed::forceUpdate() {
  {
    std::lock_guard lock(mutex_);
    copyBlock(latest_);
  }
  deliver();
}

void CDisplayFeed::deliver() {
  DisplayBlock block;
  std::u16string windowClass;
  {
    std::lock_guard lock(mutex_);
    pending_ = false;
    block = latest_;
    windowClass = windowClass_;
  }
  if (CSkinWindow* window = windows_.skinWindow(windowClass)) {
    window->scene().setBlock(block);
    window->repaintArea(window->scene().displayArea());
  }
}

}  // namespace tavrel::gui
