// The toolkit's input turned into window messages: the hit test before a press, buttons,
// double clicks, keys, close, drops, maximise, buttons of the skin, and the message loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <thread>

#include "GuiEnvironment.h"

namespace tavrel::test {
namespace {

using gui::MessageKind;

std::uint32_t packed(int x, int y) {
  return (static_cast<std::uint32_t>(x) & 0xFFFF) |
         ((static_cast<std::uint32_t>(y) & 0xFFFF) << 16);
}

class MessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = plugins().windows->createWindow(gui::kFloatingWindowClass, demoFloatingView());
    window->setWindowProcedure(log.procedure());
    window->show();
    widget = topLevel("Tavrel Demo");
    ASSERT_NE(widget, nullptr);
    log.messages.clear();
  }

  void TearDown() override {
    window->setWindowProcedure(nullptr);
    window->close();
  }

  void mouse(QEvent::Type type, Qt::MouseButton button, QPoint local,
             Qt::MouseButtons held = Qt::NoButton) {
    QMouseEvent event(type, QPointF(local), QPointF(widget->mapToGlobal(local)), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
  }
  void click(QPoint local) {
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, local, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, local);
  }
  void key(QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers, bool repeat = false) {
    QKeyEvent event(type, qtKey, modifiers, QString(), repeat);
    QCoreApplication::sendEvent(widget, &event);
  }

  MessageLog log;
  gui::IWindow* window = nullptr;
  QWidget* widget = nullptr;
};

TEST_F(MessageTest, ClientPressAsksTheHitTestWithScreenPointThenGivesWindowPoint) {
  click({45, 220});
  ASSERT_EQ(log.of(MessageKind::HitTest).size(), 1u);
  EXPECT_EQ(log.of(MessageKind::HitTest)[0].lParam, packed(80 + 45, 40 + 220));
  ASSERT_EQ(log.of(MessageKind::LeftButtonDown).size(), 1u);
  EXPECT_EQ(log.of(MessageKind::LeftButtonDown)[0].lParam, packed(45, 220));
  EXPECT_EQ(log.of(MessageKind::LeftButtonDown)[0].wParam, 0x1u) << "the left button is down";
  ASSERT_EQ(log.of(MessageKind::LeftButtonUp).size(), 1u);
  EXPECT_EQ(log.of(MessageKind::LeftButtonUp)[0].lParam, packed(45, 220));
}

TEST_F(MessageTest, ReleaseOutsideTheWindowStillReachesIt) {
  mouse(QEvent::MouseButtonPress, Qt::LeftButton, {45, 220}, Qt::LeftButton);
  mouse(QEvent::MouseButtonRelease, Qt::LeftButton, {-5, 700});
  ASSERT_EQ(log.of(MessageKind::LeftButtonUp).size(), 1u);
  EXPECT_EQ(log.of(MessageKind::LeftButtonUp)[0].lParam, packed(-5, 700));
}

TEST_F(MessageTest, CaptionPressDragsTheWindowAndNowherePressIsDropped) {
  log.hitAnswer = gui::kHitCaption;
  mouse(QEvent::MouseButtonPress, Qt::LeftButton, {10, 10}, Qt::LeftButton);
  mouse(QEvent::MouseMove, Qt::NoButton, {60, 40}, Qt::LeftButton);
  mouse(QEvent::MouseButtonRelease, Qt::LeftButton, {60, 40});
  EXPECT_TRUE(log.of(MessageKind::LeftButtonDown).empty());
  EXPECT_TRUE(log.of(MessageKind::LeftButtonUp).empty());
  EXPECT_EQ(window->rect().left, 80 + 50);
  EXPECT_EQ(window->rect().top, 40 + 30);

  log.hitAnswer = gui::kHitNowhere;
  click({45, 220});
  mouse(QEvent::MouseButtonPress, Qt::RightButton, {45, 220}, Qt::RightButton);
  EXPECT_TRUE(log.of(MessageKind::LeftButtonDown).empty());
  EXPECT_TRUE(log.of(MessageKind::RightButtonDown).empty());
}

TEST_F(MessageTest, DoubleClickOnFrameIsNonClientWithScreenPoint) {
  log.hitAnswer = gui::kHitCaption;
  mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, {40, 70}, Qt::LeftButton);
  log.hitAnswer = gui::kHitBorder;
  mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, {41, 71}, Qt::LeftButton);
  const auto doubles = log.of(MessageKind::NcLeftDoubleClick);
  ASSERT_EQ(doubles.size(), 2u);
  EXPECT_EQ(doubles[0].lParam, packed(80 + 40, 40 + 70));
  EXPECT_EQ(doubles[1].lParam, packed(80 + 41, 40 + 71));
  // On a key the second click is one more press.
  log.hitAnswer = gui::kHitClient;
  mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, {45, 220}, Qt::LeftButton);
  EXPECT_EQ(log.of(MessageKind::NcLeftDoubleClick).size(), 2u);
  EXPECT_EQ(log.of(MessageKind::LeftButtonDown).size(), 1u);
}

TEST_F(MessageTest, RightButtonDownAndUp) {
  mouse(QEvent::MouseButtonPress, Qt::RightButton, {45, 220}, Qt::RightButton);
  mouse(QEvent::MouseButtonRelease, Qt::RightButton, {45, 220});
  ASSERT_EQ(log.of(MessageKind::RightButtonDown).size(), 1u);
  EXPECT_EQ(log.of(MessageKind::RightButtonDown)[0].lParam, packed(45, 220));
  EXPECT_EQ(log.of(MessageKind::RightButtonUp).size(), 1u);
}

TEST_F(MessageTest, KeysCarryVirtualKeyRepeatAndAltBits) {
  key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
  key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, true);
  key(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, true);  // a repeat's release is no key up
  key(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier);
  key(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);  // not taken for focus changes
  key(QEvent::KeyPress, Qt::Key_X, Qt::AltModifier);
  const auto downs = log.of(MessageKind::KeyDown);
  ASSERT_EQ(downs.size(), 3u);
  EXPECT_EQ(downs[0].wParam, 65u);
  EXPECT_EQ(downs[0].lParam & (gui::kKeyDataRepeat | gui::kKeyDataAltDown), 0u);
  EXPECT_NE(downs[1].lParam & gui::kKeyDataRepeat, 0u);
  EXPECT_EQ(downs[2].wParam, 9u);
  ASSERT_EQ(log.of(MessageKind::KeyUp).size(), 1u);
  EXPECT_EQ(log.of(MessageKind::KeyUp)[0].wParam, 65u);
  const auto system = log.of(MessageKind::SysKeyDown);
  ASSERT_EQ(system.size(), 1u);
  EXPECT_EQ(system[0].wParam, 88u);
  EXPECT_NE(system[0].lParam & gui::kKeyDataAltDown, 0u);
}

TEST_F(MessageTest, ActivationAndFocusLoss) {
  window->refocus();
  ASSERT_TRUE(waitFor([&] {
    const auto activations = log.of(MessageKind::Activate);
    return !activations.empty() && activations.back().wParam == 1;
  }));
  QFocusEvent menuOpens(QEvent::FocusOut, Qt::PopupFocusReason);
  QCoreApplication::sendEvent(widget, &menuOpens);
  EXPECT_TRUE(log.of(MessageKind::KillFocus).empty()) << "a menu keeps the window's keyboard";
  QFocusEvent lost(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QCoreApplication::sendEvent(widget, &lost);
  EXPECT_EQ(log.of(MessageKind::KillFocus).size(), 1u);
}

TEST_F(MessageTest, CloseIsTheProceduresToDecide) {
  gui::WindowProcedure handled =
      [this](gui::IWindow&, const gui::WindowMessage& message) -> std::optional<std::intptr_t> {
    log.messages.push_back(message);
    return message.kind == MessageKind::Close ? std::optional<std::intptr_t>(0) : std::nullopt;
  };
  window->setWindowProcedure(handled);
  widget->close();
  EXPECT_EQ(log.of(MessageKind::Close).size(), 1u);
  EXPECT_TRUE(widget->isVisible());
  EXPECT_EQ(plugins().windows->window(gui::kFloatingWindowClass), window);
  // The shell's answer to Close: it closes the window itself, while the request is handled.
  gui::WindowProcedure closing =
      [](gui::IWindow& self, const gui::WindowMessage& message) -> std::optional<std::intptr_t> {
    if (message.kind != MessageKind::Close) {
      return std::nullopt;
    }
    self.close();
    return 0;
  };
  window->setWindowProcedure(closing);
  widget->close();
  EXPECT_FALSE(widget->isVisible());
  EXPECT_EQ(plugins().windows->window(gui::kFloatingWindowClass), nullptr);
  window = plugins().windows->createWindow(gui::kFloatingWindowClass, demoFloatingView());
  window->setWindowProcedure(log.procedure());
  window->show();
  widget = topLevel("Tavrel Demo");
  ASSERT_NE(widget, nullptr);

  window->setWindowProcedure(log.procedure());  // default handling: the window closes
  widget->close();
  EXPECT_EQ(log.of(MessageKind::Close).size(), 2u);
  EXPECT_EQ(plugins().windows->window(gui::kFloatingWindowClass), nullptr);
  window = plugins().windows->createWindow(gui::kFloatingWindowClass, demoFloatingView());
}

TEST_F(MessageTest, DroppedFilesArriveAsPaths) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile("/tmp/one state.vstate"), QUrl::fromLocalFile("/tmp/b")});
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &drop);
  const auto drops = log.of(MessageKind::DropFiles);
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0].files, (std::vector<std::u16string>{u"/tmp/one state.vstate", u"/tmp/b"}));
}

TEST_F(MessageTest, MaximiseBecomesTheSystemCommand) {
  widget->setWindowState(Qt::WindowMaximized);
  const auto commands = log.of(MessageKind::SysCommand);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].wParam, gui::kSysCommandMaximize);
  EXPECT_FALSE(widget->windowState().testFlag(Qt::WindowMaximized));
}

TEST_F(MessageTest, SkinButtonSendsItsCommandId) {
  gui::ButtonElement button;
  button.label = u"Go";
  button.width = 40;
  button.height = 20;
  button.x = 5;
  button.y = 5;
  button.commandId = 4242;
  ASSERT_TRUE(window->addElement(u"BUTTON", button));
  auto* pushButton = widget->findChild<QPushButton*>();
  ASSERT_NE(pushButton, nullptr);
  EXPECT_EQ(pushButton->geometry(), QRect(5, 5, 40, 20));
  pushButton->click();
  ASSERT_TRUE(waitFor([&] { return !log.of(MessageKind::Command).empty(); }));
  EXPECT_EQ(log.of(MessageKind::Command)[0].wParam, 4242u);
}

TEST_F(MessageTest, RunEndsOnQuitFromAnyThreadOrWhenAsked) {
  std::thread other([] { plugins().windows->quit(7); });
  EXPECT_EQ(plugins().windows->run(nullptr), 7);
  other.join();

  int handled = 0;
  QMetaObject::invokeMethod(
      qApp, [&] { ++handled; }, Qt::QueuedConnection);
  plugins().windows->quit(0);  // consumed by the next run only
  EXPECT_EQ(plugins().windows->run(nullptr), 0);
  EXPECT_EQ(plugins().windows->run([&] { return handled > 0; }), 0);
  EXPECT_EQ(handled, 1);
}

}  // namespace
}  // namespace tavrel::test
