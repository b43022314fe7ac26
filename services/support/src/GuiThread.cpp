#include "GuiThread.h"

#include <QApplication>
#include <QThread>

#include "ServiceCommands.h"

namespace tavrel::service {

bool hasGuiApplication() {
  return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

QWidget* dialogParent() {
  return QApplication::activeWindow();
}

bool runOnGuiThread(std::string_view service, const std::function<void()>& work) {
  auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (application == nullptr) {
    reportError(service, "no application window system to show a dialog with");
    return false;
  }
  if (QThread::currentThread() == application->thread()) {
    work();
  } else {
    // Blocking: the work runs this plug-in's code, which must not be unloaded before it ran.
    QMetaObject::invokeMethod(application, work, Qt::BlockingQueuedConnection);
  }
  return true;
}

}  // namespace tavrel::service
