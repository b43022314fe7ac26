#include "app/SkinTitle.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace tavrel {

CSkinTitle::CSkinTitle(const CGuiBinding& gui) : gui_(gui), previous_(gui::setSkinWindow(this)) {}

CSkinTitle::~CSkinTitle() {
  gui::setSkinWindow(previous_);
}

void CSkinTitle::setTitle(const std::u16string& title) {
  QCoreApplication* application = QCoreApplication::instance();
  gui::IWindowManager* manager = gui_.windowManager();
  if (application == nullptr || manager == nullptr) {
    return;
  }
  // Windows are touched on the GUI thread only; the manager outlives the application's
  // queued calls, which go with the GUI service.
  QMetaObject::invokeMethod(
      application,
      [manager, title] {
        if (gui::IWindow* window = manager->window(gui::kFloatingWindowClass)) {
          window->setTitle(title);
        }
      },
      Qt::AutoConnection);
}

}  // namespace tavrel
