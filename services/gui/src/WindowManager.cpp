#include "WindowManager.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>

#include "tavrel/gui/SkinView.h"

namespace tavrel::gui {

CWindowManager::~CWindowManager() {
  destroyAll();
}

IWindow* CWindowManager::createWindow(const std::u16string& windowClass,
                                      const SkinViewDescription& view) {
  if (CSkinWindow* earlier = skinWindow(windowClass)) {
    earlier->close();
  }
  auto* window = new CSkinWindow(windowClass, view, topmost_ && view.style != kStyleFullscreen,
                                 [this](CSkinWindow& closed) { forget(closed); });
  windows_[windowClass] = window;
  if (created_) {
    created_(*window);
  }
  return window;
}

CSkinWindow* CWindowManager::skinWindow(const std::u16string& windowClass) const {
  const auto found = windows_.find(windowClass);
  return found != windows_.end() ? found->second : nullptr;
}

CSkinWindow* CWindowManager::shownWindow() const {
  for (const char16_t* windowClass : {kFloatingWindowClass, kFullscreenWindowClass}) {
    CSkinWindow* window = skinWindow(windowClass);
    if (window != nullptr && window->isVisible()) {
      return window;
    }
  }
  for (const auto& [windowClass, window] : windows_) {
    if (window->isVisible()) {
      return window;
    }
  }
  return nullptr;
}

// A closed window leaves the table at once and is destroyed once the event that closed it
// is over, so a window procedure may close its own window.
void CWindowManager::forget(CSkinWindow& window) {
  const auto found = windows_.find(window.windowClass());
  if (found != windows_.end() && found->second == &window) {
    windows_.erase(found);
  }
  window.deleteLater();
}

void CWindowManager::destroyAll() {
  auto windows = std::move(windows_);
  windows_.clear();
  for (auto& [windowClass, window] : windows) {
    delete window;
  }
}

void CWindowManager::show(const std::u16string& windowClass, int mode) {
  CSkinWindow* window = skinWindow(windowClass);
  if (window == nullptr) {
    return;
  }
  switch (mode) {
    case kShowLeave:
      window->hide();
      break;
    case kShowEnter:
      window->show();
      break;
    case kShowActivate:
      window->show();
      window->activate();
      break;
    default:
      break;
  }
}

void CWindowManager::setTopmost(bool topmost) {
  topmost_ = topmost;
  for (auto& [windowClass, window] : windows_) {
    if (!window->isFullscreenView()) {
      window->applyTopmost(topmost);
    }
  }
}

int CWindowManager::run(const std::function<bool()>& stopWhen) {
  if (quitRequested_.exchange(false)) {
    return exitCode_;
  }
  QEventLoop loop;
  // The dispatcher is about to wait: every message that was waiting has been handled.
  const auto connection = QObject::connect(QAbstractEventDispatcher::instance(),
                                           &QAbstractEventDispatcher::aboutToBlock, &loop, [&] {
                                             if (quitRequested_ || (stopWhen && stopWhen())) {
                                               loop.exit(exitCode_);
                                             }
                                           });
  loop.exec();
  QObject::disconnect(connection);
  quitRequested_ = false;
  return exitCode_;
}

void CWindowManager::quit(int exitCode) {
  exitCode_ = exitCode;
  quitRequested_ = true;
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(qApp->thread())) {
    dispatcher->wakeUp();
  }
}

}  // namespace tavrel::gui
