#include "SkinWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <exception>

#include "PictureFile.h"
#include "RegionFile.h"
#include "ServiceContext.h"
#include "VirtualKeys.h"

namespace tavrel::gui {
namespace {

// Button and modifier bits of mouse messages.
constexpr std::uint32_t kLeftButtonFlag = 0x1;
constexpr std::uint32_t kRightButtonFlag = 0x2;
constexpr std::uint32_t kShiftFlag = 0x4;
constexpr std::uint32_t kControlFlag = 0x8;
constexpr std::uint32_t kMiddleButtonFlag = 0x10;

// Key data of a key-up message: the key was down and is going up.
constexpr std::uint32_t kKeyDataPreviousDown = 1u << 30;
constexpr std::uint32_t kKeyDataTransition = 1u << 31;

constexpr std::uint32_t kVirtualKeyF4 = 115;

}  // namespace

std::uint32_t packPoint(const QPoint& point) {
  return (static_cast<std::uint32_t>(point.x()) & 0xFFFFu) |
         ((static_cast<std::uint32_t>(point.y()) & 0xFFFFu) << 16);
}

CSkinWindow::CSkinWindow(std::u16string windowClass, const SkinViewDescription& view, bool topmost,
                         ClosedHandler closed)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      class_(std::move(windowClass)),
      closed_(std::move(closed)) {
  // Long enough for the press that follows a repeat's release in the same burst of events.
  releaseDelay_.setSingleShot(true);
  releaseDelay_.setInterval(25);
  QObject::connect(&releaseDelay_, &QTimer::timeout, this, [this] { keyRepeats_.flush(); });
  buildWindow(view, topmost);
}

void CSkinWindow::buildWindow(const SkinViewDescription& view, bool topmost) {
  setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
  setFocusPolicy(Qt::StrongFocus);
  setAcceptDrops(true);
  setWindowTitle(QString::fromStdU16String(view.title));
  fullscreen_ = view.style == kStyleFullscreen;
  if (fullscreen_) {
    scene_.setBackground(QColor(view.backgroundRed, view.backgroundGreen, view.backgroundBlue));
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
    skinSize_ = area.size();
    setGeometry(area);
  } else {
    skinSize_ = QSize(std::max(view.width, 1), std::max(view.height, 1));
    move(view.originX, view.originY);
    setFixedSize(skinSize_);
  }
  if (!view.overlay.bitmap.empty()) {
    scene_.setPicture(loadPicture(view.overlay.bitmap));
  }
  if (!view.regionFile.empty() && !fullscreen_) {
    applyRegionFile(view);
  }
}

void CSkinWindow::applyRegionFile(const SkinViewDescription& view) {
  QString error;
  if (!readRegionFile(QString::fromStdU16String(view.regionFile), skinSize_, shape_, error)) {
    std::fprintf(stderr, "gui: the window stays rectangular: %s\n", qPrintable(error));
    return;
  }
  setMask(shape_);
}

void CSkinWindow::setWindowProcedure(WindowProcedure procedure) {
  procedure_ = std::move(procedure);
}

std::optional<std::intptr_t> CSkinWindow::deliver(const WindowMessage& message) {
  // A copy: the procedure may install another one while it runs.
  const WindowProcedure procedure = procedure_;
  if (!procedure) {
    return std::nullopt;
  }
  try {
    return procedure(*this, message);
  } catch (const excpt::IException& failure) {
    reportFailure(failure);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "gui: the window procedure failed: %s\n", failure.what());
  }
  return std::nullopt;
}

bool CSkinWindow::addElement(const std::u16string& typeName, const ElementSettings& settings) {
  if (typeName == u"SOLIDBG" && std::holds_alternative<SolidBackground>(settings)) {
    scene_.addSolidBackground(std::get<SolidBackground>(settings));
    update();
    return true;
  }
  if (typeName != u"BUTTON" || !std::holds_alternative<ButtonElement>(settings)) {
    return false;
  }
  const ButtonElement& element = std::get<ButtonElement>(settings);
  auto* button = new QPushButton(QString::fromStdU16String(element.label), this);
  button->setGeometry(
      QRect(QPoint(element.x, element.y) + skinOrigin(), QSize(element.width, element.height)));
  button->setFocusPolicy(Qt::NoFocus);  // the keyboard stays with the calculator
  QFont font = button->font();
  if (!element.font.empty()) {
    font.setFamily(QString::fromStdU16String(element.font));
  }
  if (element.fontHeight != 0) {
    font.setPixelSize(std::clamp(std::abs(element.fontHeight), 1, 500));
  }
  if (element.fontWeight > 0) {
    font.setWeight(static_cast<QFont::Weight>(std::clamp(element.fontWeight, 1, 1000)));
  }
  button->setFont(font);
  const std::uint16_t id = element.commandId;
  connect(button, &QPushButton::clicked, this, [this, id] {
    // After the click has been handled: the command may close this window.
    QTimer::singleShot(0, this, [this, id] { deliver({MessageKind::Command, id, 0, {}}); });
  });
  button->show();
  return true;
}

void CSkinWindow::show() {
  showView();
}

void CSkinWindow::showView() {
  if (fullscreen_) {
    showFullScreen();
  } else {
    QWidget::show();
  }
}

void CSkinWindow::setTitle(const std::u16string& title) {
  setWindowTitle(QString::fromStdU16String(title));
}

void CSkinWindow::close() {
  if (closing_) {
    return;
  }
  closing_ = true;
  QWidget::close();
  hide();  // the toolkit's close does nothing while the window handles a close request
  if (closed_) {
    closed_(*this);
  }
}

void CSkinWindow::activate() {
  raise();
  activateWindow();
  setFocus(Qt::ActiveWindowFocusReason);
}

void CSkinWindow::refocus() {
  activate();
}

void CSkinWindow::clearUpdates() {
  if (scene_.clearPressedRegions()) {
    update();
  }
}

void CSkinWindow::paint() {
  if (!painting_) {
    update();
  }
}

WindowRect CSkinWindow::rect() const {
  const QPoint corner = mapToGlobal(skinOrigin());
  return {corner.x(), corner.y(), skinSize_.width(), skinSize_.height()};
}

void CSkinWindow::moveTo(std::int32_t left, std::int32_t top) {
  move(QPoint(left, top) - skinOrigin());
}

void CSkinWindow::applyTopmost(bool topmost) {
  if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost) {
    return;
  }
  const bool visible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, topmost);  // hides the window
  if (visible) {
    showView();
  }
}

void CSkinWindow::setMenuBar(QMenuBar* bar) {
  delete menuBar_;
  menuBar_ = bar;
  int barHeight = 0;
  if (bar != nullptr) {
    bar->setParent(this);
    barHeight = bar->sizeHint().height();
    bar->setGeometry(0, 0, skinSize_.width(), barHeight);
    bar->show();
  }
  if (!fullscreen_) {
    setFixedSize(skinSize_.width(), skinSize_.height() + barHeight);
  }
  if (!shape_.isEmpty()) {
    setMask(shape_.translated(0, barHeight) + QRegion(0, 0, skinSize_.width(), barHeight));
  }
  update();
}

QPoint CSkinWindow::skinOrigin() const {
  return {0, menuBar_ != nullptr ? menuBar_->height() : 0};
}

void CSkinWindow::repaintArea(const QRect& area) {
  update(area.translated(skinOrigin()));
}

void CSkinWindow::paintEvent(QPaintEvent* event) {
  painting_ = true;
  deliver({MessageKind::Paint, 0, 0, {}});  // the window draws itself whatever the answer
  QPainter painter(this);
  painter.translate(skinOrigin());
  scene_.paint(painter, event->rect().translated(-skinOrigin()));
  painting_ = false;
}

std::intptr_t CSkinWindow::hitTest(const QPoint& screen) {
  const std::optional<std::intptr_t> answer =
      deliver({MessageKind::HitTest, 0, packPoint(screen), {}});
  if (answer) {
    return *answer;
  }
  const QRect skinArea(mapToGlobal(skinOrigin()), skinSize_);
  return skinArea.contains(screen) ? kHitClient : kHitNowhere;
}

std::uint32_t CSkinWindow::buttonFlags(Qt::MouseButtons buttons,
                                       Qt::KeyboardModifiers modifiers) const {
  std::uint32_t flags = 0;
  flags |= buttons.testFlag(Qt::LeftButton) ? kLeftButtonFlag : 0;
  flags |= buttons.testFlag(Qt::RightButton) ? kRightButtonFlag : 0;
  flags |= buttons.testFlag(Qt::MiddleButton) ? kMiddleButtonFlag : 0;
  flags |= modifiers.testFlag(Qt::ShiftModifier) ? kShiftFlag : 0;
  flags |= modifiers.testFlag(Qt::ControlModifier) ? kControlFlag : 0;
  return flags;
}

// A press goes to the window procedure only where the hit test says client; on the caption
// it may start a drag of the window; anywhere else it is dropped.
void CSkinWindow::pressAt(Qt::MouseButton button, const QMouseEvent& event) {
  const QPoint screen = event.globalPosition().toPoint();
  const std::intptr_t hit = hitTest(screen);
  Press& press = button == Qt::LeftButton ? left_ : right_;
  press = Press{};
  if (hit == kHitCaption && button == Qt::LeftButton) {
    press.caption = true;
    press.screenStart = screen;
    press.windowStart = pos();
    return;
  }
  if (hit != kHitClient) {
    return;
  }
  press.client = true;
  const QPoint point = event.position().toPoint() - skinOrigin();
  const MessageKind kind =
      button == Qt::LeftButton ? MessageKind::LeftButtonDown : MessageKind::RightButtonDown;
  deliver({kind, buttonFlags(event.buttons(), event.modifiers()), packPoint(point), {}});
}

void CSkinWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
    pressAt(event->button(), *event);
  }
  event->accept();
}

void CSkinWindow::mouseMoveEvent(QMouseEvent* event) {
  if (!left_.caption || !event->buttons().testFlag(Qt::LeftButton)) {
    return;
  }
  const QPoint screen = event->globalPosition().toPoint();
  if (!left_.moving) {
    if ((screen - left_.screenStart).manhattanLength() < QApplication::startDragDistance()) {
      return;
    }
    // The window system moves the window when it can; otherwise the window follows itself.
    if (windowHandle() != nullptr && windowHandle()->startSystemMove()) {
      left_ = Press{};
      return;
    }
    left_.moving = true;
  }
  move(left_.windowStart + (screen - left_.screenStart));
}

void CSkinWindow::mouseReleaseEvent(QMouseEvent* event) {
  const bool leftButton = event->button() == Qt::LeftButton;
  if (!leftButton && event->button() != Qt::RightButton) {
    return;
  }
  Press& press = leftButton ? left_ : right_;
  if (press.client) {
    const QPoint point = event->position().toPoint() - skinOrigin();
    deliver({leftButton ? MessageKind::LeftButtonUp : MessageKind::RightButtonUp,
             buttonFlags(event->buttons(), event->modifiers()),
             packPoint(point),
             {}});
  }
  press = Press{};
  event->accept();
}

void CSkinWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint screen = event->globalPosition().toPoint();
  if (event->button() == Qt::LeftButton) {
    const std::intptr_t hit = hitTest(screen);
    if (hit != kHitClient && hit != kHitNowhere) {
      left_ = Press{};
      deliver(
          {MessageKind::NcLeftDoubleClick, static_cast<std::uint32_t>(hit), packPoint(screen), {}});
      return;
    }
  }
  // In the skin area the second click of a double click is another press.
  mousePressEvent(event);
}

void CSkinWindow::deliverKey(QKeyEvent* event, bool down) {
  const std::uint32_t key = virtualKeyFor(event->key(), event->modifiers());
  if (key == 0) {
    event->ignore();
    return;
  }
  event->accept();
  if (!down && event->isAutoRepeat()) {
    return;  // a held key goes up once, when it is released
  }
  const CKeyRepeatFilter::Key stamped{key, event->timestamp()};
  const bool alt = event->modifiers().testFlag(Qt::AltModifier) || event->key() == Qt::Key_Alt;
  std::uint32_t data = 1;  // repeat count
  data |= alt ? kKeyDataAltDown : 0;
  if (down) {
    const bool repeat = keyRepeats_.pressed(stamped) || event->isAutoRepeat();
    data |= repeat ? kKeyDataRepeat : 0;
  } else {
    data |= kKeyDataPreviousDown | kKeyDataTransition;
  }
  const MessageKind kind = down ? (alt ? MessageKind::SysKeyDown : MessageKind::KeyDown)
                                : (alt ? MessageKind::SysKeyUp : MessageKind::KeyUp);
  const WindowMessage message{kind, key, data, {}};
  if (!down) {
    keyRepeats_.released(stamped, [this, message] { deliver(message); });
    releaseDelay_.start();
    return;
  }
  const std::optional<std::intptr_t> answer = deliver(message);
  if (!answer && kind == MessageKind::SysKeyDown && key == kVirtualKeyF4) {
    requestClose();  // the default handling of Alt+F4
  }
}

void CSkinWindow::keyPressEvent(QKeyEvent* event) {
  deliverKey(event, true);
}

void CSkinWindow::keyReleaseEvent(QKeyEvent* event) {
  deliverKey(event, false);
}

void CSkinWindow::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  keyRepeats_.flush();
  // A menu opening is part of the window's own menu loop, not a loss of the keyboard.
  if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::MenuBarFocusReason) {
    deliver({MessageKind::KillFocus, 0, 0, {}});
  }
}

void CSkinWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange) {
    deliver({MessageKind::Activate, isActiveWindow() ? 1u : 0u, 0, {}});
  } else if (event->type() == QEvent::WindowStateChange) {
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    const bool maximised = windowState().testFlag(Qt::WindowMaximized) &&
                           !change->oldState().testFlag(Qt::WindowMaximized);
    if (maximised && !fullscreen_) {
      // A skin has one size: the maximise request is the shell's to interpret.
      setWindowState(windowState() & ~Qt::WindowMaximized);
      deliver({MessageKind::SysCommand, kSysCommandMaximize, 0, {}});
    }
  }
}

void CSkinWindow::requestClose() {
  QWidget::close();
}

void CSkinWindow::closeEvent(QCloseEvent* event) {
  keyRepeats_.flush();
  if (closing_) {
    event->accept();
    return;
  }
  if (deliver({MessageKind::Close, 0, 0, {}})) {
    event->ignore();  // the procedure decides (it closes the window itself)
    return;
  }
  closing_ = true;
  event->accept();
  if (closed_) {
    closed_(*this);
  }
}

void CSkinWindow::dragEnterEvent(QDragEnterEvent* event) {
  const QMimeData* data = event->mimeData();
  if (data != nullptr && data->hasUrls()) {
    const QList<QUrl> urls = data->urls();
    if (std::all_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); })) {
      event->acceptProposedAction();
    }
  }
}

void CSkinWindow::dropEvent(QDropEvent* event) {
  WindowMessage message{MessageKind::DropFiles, 0, 0, {}};
  for (const QUrl& url : event->mimeData()->urls()) {
    message.files.push_back(url.toLocalFile().toStdU16String());
  }
  event->acceptProposedAction();
  deliver(message);
}

}  // namespace tavrel::gui
