// What the exporter's window tests share: a QApplication on the offscreen platform, a way to
// act on a modal dialog once it is up, and a scripted host UI that records every box and
// dialog the exporter asks for.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "tavrel/ScriptedHostUi.h"

namespace tavrel::statexport::test {

// Creates the test program's QApplication on first use.
void ensureTestApplication();

// From the event loop, waits (checking every few milliseconds on a timer, up to a generous
// limit) for a modal dialog with the given window title to be active, then runs action on it.
// When none shows up, the test fails and every modal dialog is closed so the test cannot hang.
void whenModalShown(const QString& title, std::function<void(QWidget*)> action);
// The same for any condition.
void whenTrue(std::function<bool()> condition, std::function<void()> action);

// Installs a fresh scripted host UI for the life of the object.
class ScopedScriptedUi {
 public:
  ScopedScriptedUi();
  ~ScopedScriptedUi();
  ScopedScriptedUi(const ScopedScriptedUi&) = delete;
  ScopedScriptedUi& operator=(const ScopedScriptedUi&) = delete;
  gui::CScriptedHostUi& ui() { return ui_; }
  // The texts of the message boxes shown so far.
  std::vector<std::u16string> messages() const;

 private:
  gui::CScriptedHostUi ui_;
  gui::IHostUi* previous_;
};

// The action of a dialog with the given text (as in its menu, without "&").
void triggerAction(QWidget* dialog, const QString& text);

}  // namespace tavrel::statexport::test
