#include "GuiServiceState.h"

#include <cstdio>
#include <cstdlib>

namespace tavrel::gui {
namespace {

std::unique_ptr<GuiServiceState>& state() {
  static std::unique_ptr<GuiServiceState> instance;
  return instance;
}

// The application object keeps references to these for its whole life.
int applicationArgc = 1;
char applicationName[] = "tavrel";
char* applicationArgv[] = {applicationName, nullptr};

std::unique_ptr<QApplication> makeApplication() {
  const bool noDisplay = std::getenv("DISPLAY") == nullptr &&
                         std::getenv("WAYLAND_DISPLAY") == nullptr &&
                         std::getenv("QT_QPA_PLATFORM") == nullptr;
  if (noDisplay) {
    // Without a display the toolkit would end the process; windows are then drawn unseen.
    std::fputs("gui: no display found; windows are drawn off screen\n", stderr);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  return std::make_unique<QApplication>(applicationArgc, applicationArgv);
}

}  // namespace

GuiServiceState::GuiServiceState() {
  windows.setWindowCreated([this](CSkinWindow& window) { menus.windowCreated(window); });
  replacedHostUi = setHostUi(&hostUi);
}

GuiServiceState::~GuiServiceState() {
  setHostUi(replacedHostUi);
  windows.setWindowCreated(nullptr);
  windows.destroyAll();
  // Windows closed earlier wait for the event loop to destroy them; it will not run again.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

GuiServiceState* guiService() {
  return state().get();
}

bool startGuiService() {
  if (state()) {
    return true;
  }
  std::unique_ptr<QApplication> application;
  if (QCoreApplication::instance() == nullptr) {
    application = makeApplication();
  } else if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    std::fputs("gui: the process has an application object without widgets; no windows\n", stderr);
    return false;
  }
  QApplication::setQuitOnLastWindowClosed(false);  // the shell decides when to end
  state() = std::make_unique<GuiServiceState>();
  state()->ownApplication = std::move(application);
  return true;
}

void stopGuiService() {
  if (!state()) {
    return;
  }
  // Members first, the application object they live in last.
  std::unique_ptr<QApplication> application = std::move(state()->ownApplication);
  state().reset();
  application.reset();
}

}  // namespace tavrel::gui
