#include "ModalDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdlib>

namespace tavrel::test {

void ensureApplication() {
  if (QApplication::instance() == nullptr) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "services_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
  }
}

void withModalDialog(const std::function<void()>& open, const std::function<void(QDialog&)>& act) {
  ensureApplication();
  bool acted = false;
  QElapsedTimer waited;
  waited.start();
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      if (waited.elapsed() > 10000) {
        poll.stop();
        ADD_FAILURE() << "no modal dialog showed up";
      }
      return;
    }
    poll.stop();
    acted = true;
    act(*dialog);
    if (dialog->isVisible()) {
      dialog->reject();
    }
  });
  poll.start();
  open();
  poll.stop();
  EXPECT_TRUE(acted) << "the dialog was closed before the test could act on it";
}

}  // namespace tavrel::test
