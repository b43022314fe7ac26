#pragma once

#include <QDialog>
#include <functional>

namespace tavrel::test {

// The QApplication of the test program (offscreen), made on first use.
void ensureApplication();

// Runs open(), which shows a modal dialog and returns once it is closed; meanwhile, as soon
// as the dialog is up, act(dialog) runs in its event loop. The dialog is closed after act
// unless act closed it. Fails the test when no dialog shows within 10 s.
void withModalDialog(const std::function<void()>& open, const std::function<void(QDialog&)>& act);

}  // namespace tavrel::test
