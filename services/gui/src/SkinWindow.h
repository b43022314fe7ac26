#pragma once

#include <QPoint>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

#include "KeyRepeatFilter.h"
#include "SkinScene.h"
#include "tavrel/gui/Window.h"

class QMenuBar;

namespace tavrel::gui {

// One skin window: a frameless top-level window (shaped by the skin's region file, or full
// screen) that draws its scene and turns the toolkit's input into WindowMessages for the
// shell's window procedure. Window coordinates are those of the skin area, below the menu bar
// when the window has one.
class CSkinWindow final : public QWidget, public IWindow {
 public:
  using ClosedHandler = std::function<void(CSkinWindow&)>;

  CSkinWindow(std::u16string windowClass, const SkinViewDescription& view, bool topmost,
              ClosedHandler closed);

  // IWindow
  const std::u16string& windowClass() const override { return class_; }
  void setWindowProcedure(WindowProcedure procedure) override;
  bool addElement(const std::u16string& typeName, const ElementSettings& settings) override;
  void show() override;
  void setTitle(const std::u16string& title) override;
  void close() override;
  void refocus() override;
  void clearUpdates() override;
  void paint() override;
  // The fullscreen view shows the skin's display on its background, without a picture.
  bool showsSkin() const override { return scene_.hasPicture() || fullscreen_; }
  WindowRect rect() const override;
  void moveTo(std::int32_t left, std::int32_t top) override;

  // Gives the message to the window procedure; none when there is none or it chose the
  // default handling (a framework exception out of it is reported).
  std::optional<std::intptr_t> deliver(const WindowMessage& message);

  bool isFullscreenView() const { return fullscreen_; }
  void activate();
  void applyTopmost(bool topmost);
  // The window's menu bar (a rectangular skin's "menu_bar"); null removes it.
  void setMenuBar(QMenuBar* bar);

  CSkinScene& scene() { return scene_; }
  // Repaints a part of the skin area (window coordinates).
  void repaintArea(const QRect& area);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool focusNextPrevChild(bool) override { return false; }  // Tab is a calculator key

 private:
  struct Press {
    bool client = false;   // delivered as a button down
    bool caption = false;  // may become a drag of the window
    bool moving = false;   // the window follows the mouse itself
    QPoint screenStart;
    QPoint windowStart;
  };

  void buildWindow(const SkinViewDescription& view, bool topmost);
  void applyRegionFile(const SkinViewDescription& view);
  QPoint skinOrigin() const;
  std::intptr_t hitTest(const QPoint& screen);
  void pressAt(Qt::MouseButton button, const QMouseEvent& event);
  std::uint32_t buttonFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) const;
  void deliverKey(QKeyEvent* event, bool down);
  void requestClose();
  void showView();

  std::u16string class_;
  WindowProcedure procedure_;
  CSkinScene scene_;
  ClosedHandler closed_;
  QPointer<QMenuBar> menuBar_;
  QRegion shape_;  // the region file's shape; empty for a rectangular window
  QSize skinSize_;
  bool fullscreen_ = false;
  bool closing_ = false;
  bool painting_ = false;
  Press left_;
  Press right_;
  CKeyRepeatFilter keyRepeats_;
  QTimer releaseDelay_;  // how long a key release waits for the press of a repeat
};

// Packs a point as the low and high 16 bits of a message parameter.
std::uint32_t packPoint(const QPoint& point);

}  // namespace tavrel::gui
