#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <string_view>

namespace tavrel::service {

// Whether the program has a QApplication, so that widgets can be shown.
bool hasGuiApplication();

// The window a dialog should belong to: the program's active window (a skin window), so the
// dialog opens over it and stays above it, also when the skin is kept on top. May be null.
QWidget* dialogParent();

// Runs a modal dialog made with new, then after(dialog) and deletes it. A dialog whose
// parent window was closed while it was open went with that window: after is not run.
template <class Dialog, class After>
void execModal(Dialog* dialog, After&& after) {
  QPointer<Dialog> alive(dialog);
  dialog->exec();
  if (alive) {
    after(*alive);
    delete alive.data();
  }
}

template <class Dialog>
void execModal(Dialog* dialog) {
  execModal(dialog, [](Dialog&) {});
}

// Runs work on the thread of the program's QApplication, where every widget has to live:
// at once on that thread, otherwise waiting until that thread has run it. False, with a
// line on standard error naming the service, when there is no QApplication (no GUI service
// loaded): the work is not run.
bool runOnGuiThread(std::string_view service, const std::function<void()>& work);

}  // namespace tavrel::service
