#include "GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <chrono>

namespace tavrel::statexport::test {

namespace {

// Far beyond anything a dialog or a receive takes, so only a fault reaches it.
constexpr std::chrono::seconds kGenerousWait{30};
constexpr std::chrono::milliseconds kPollStep{5};

void poll(std::function<bool()> condition, std::function<void()> action,
          std::chrono::steady_clock::time_point deadline) {
  QTimer::singleShot(kPollStep, [condition = std::move(condition), action = std::move(action),
                                 deadline]() mutable {
    if (condition()) {
      action();
      return;
    }
    if (std::chrono::steady_clock::now() < deadline) {
      poll(std::move(condition), std::move(action), deadline);
      return;
    }
    ADD_FAILURE() << "the awaited dialog state never came";
    while (QWidget* open = QApplication::activeModalWidget()) {
      open->close();
    }
  });
}

}  // namespace

void ensureTestApplication() {
  if (QApplication::instance() == nullptr) {
    static int argc = 1;
    static char name[] = "statexport_library_test";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
  }
}

void whenTrue(std::function<bool()> condition, std::function<void()> action) {
  poll(std::move(condition), std::move(action), std::chrono::steady_clock::now() + kGenerousWait);
}

void whenModalShown(const QString& title, std::function<void(QWidget*)> action) {
  const auto shown = [title] {
    QWidget* modal = QApplication::activeModalWidget();
    return modal && modal->isVisible() && modal->windowTitle() == title;
  };
  whenTrue(shown, [action = std::move(action)] { action(QApplication::activeModalWidget()); });
}

ScopedScriptedUi::ScopedScriptedUi() : previous_(gui::setHostUi(&ui_)) {
  ui_.setEcho(false);
}

ScopedScriptedUi::~ScopedScriptedUi() {
  gui::setHostUi(previous_);
}

std::vector<std::u16string> ScopedScriptedUi::messages() const {
  std::vector<std::u16string> texts;
  for (const gui::HostUiCall& call : ui_.calls()) {
    if (call.kind == gui::HostUiCall::Kind::Message) {
      texts.push_back(call.message.text);
    }
  }
  return texts;
}

void triggerAction(QWidget* dialog, const QString& text) {
  for (QAction* action : dialog->findChildren<QAction*>()) {
    if (action->text().remove(QLatin1Char('&')) == text) {
      action->trigger();
      return;
    }
  }
  ADD_FAILURE() << "no action \"" << text.toStdString() << "\"";
}

}  // namespace tavrel::statexport::test
