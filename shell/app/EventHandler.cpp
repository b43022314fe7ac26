#include "app/EventHandler.h"

#include "tavrel/excpt/Exception.h"

namespace tavrel {

CEventHandler::CEventHandler(CommandInterface& commands, const CGuiBinding& gui)
    : gui_(gui), commands_(commands) {
  commands_.add(u"close_app", fn::bind(this, &CEventHandler::closeApp));
  commands_.add(u"refocus", fn::bind(this, &CEventHandler::refocus));
  commands_.add(u"clear_updates", fn::bind(this, &CEventHandler::clearUpdates));
  commands_.add(u"shutdn", fn::Function<fn::ret<void>>([this] { shutdown_.store(true); }));
  commands_.add(u"shutdnoff", fn::Function<fn::ret<void>>([this] { shutdown_.store(false); }));
}

gui::IWindow* CEventHandler::inputWindow() const {
  if (inputWindow_.empty()) {
    return nullptr;
  }
  gui::IWindowManager* manager = gui_.windowManager();
  return manager != nullptr ? manager->window(inputWindow_) : nullptr;
}

void CEventHandler::closeApp() {
  gui::IWindow* window = inputWindow();
  if (window == nullptr) {
    return;
  }
  window->close();
  if (gui::IWindowManager* manager = gui_.windowManager()) {
    manager->quit(0);
  }
}

void CEventHandler::refocus() {
  if (gui::IWindow* window = inputWindow()) {
    window->refocus();
  }
}

void CEventHandler::clearUpdates() {
  if (gui::IWindow* window = inputWindow()) {
    window->clearUpdates();
  }
}

int CEventHandler::run() {
  gui::IWindowManager& manager = gui_.requireWindowManager();
  int exitCode = 0;
  while (!quit_.load()) {
    try {
      exitCode = manager.run([this] { return quit_.load(); });
      break;
    } catch (const excpt::IException& failure) {
      failure.report();
    }
  }
  return exitCode;
}

}  // namespace tavrel
