// The demo skin's window showing a core's display block: LCD pixels, annunciators, the hook
// called from another thread, and the key region drawings.
#include <gtest/gtest.h>

#include <QBitmap>
#include <QGuiApplication>
#include <QScreen>
#include <array>
#include <mutex>
#include <thread>

#include "GuiEnvironment.h"
#include "tavrel/nexo/NexoInterface.h"

namespace tavrel::test {
namespace {

// A core's side of the display: a record with a real block and lock, alive for the whole
// program since the service keeps the block's address once attached.
struct FakeFreeCore {
  nexo::_NEXOInterface record;
  std::array<unsigned char, nexo::kSharedBlockBytes> block{};
  std::mutex lock;

  FakeFreeCore() {
    record.sharedBlock = [this] { return block.data(); };
    record.displayLock = &lock;
  }

  // Changes the block under the display lock and calls the hook, on a task of its own.
  template <class Change>
  void publish(Change change) {
    std::thread task([&] {
      {
        std::lock_guard guard(lock);
        change(block);
      }
      if (record.displayChanged != nullptr) {  // the core calls the host's hook when set
        fn::TextCallResult ignored;
        record.displayChanged->callWithText(fn::ParameterList{}, ignored);
      }
    });
    task.join();
  }
};

FakeFreeCore& core() {
  static FakeFreeCore instance;
  return instance;
}

void setPixel(std::array<unsigned char, nexo::kSharedBlockBytes>& block, int x, int y) {
  block[static_cast<std::size_t>(20 * y + x / 8)] |= static_cast<unsigned char>(1 << (x % 8));
}

const QRgb kForeground = qRgb(29, 42, 27);
const QRgb kBackground = qRgb(169, 184, 154);

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view = demoFloatingView();
    window = plugins().windows->createWindow(gui::kFloatingWindowClass, view);
    ASSERT_NE(window, nullptr);
    window->show();
    widget = topLevel("Tavrel Demo");
    ASSERT_NE(widget, nullptr);
    core().publish([](auto& block) { block.fill(0); });
    plugins().attachNexo(gui::kFloatingWindowClass, &core().record, view.lcd, view.announciator);
    ASSERT_NE(core().record.displayChanged, nullptr) << "attaching installs the hook";
  }

  void TearDown() override { window->close(); }

  QImage grab() const { return widget->grab().toImage(); }
  // The window pixel of a calculator pixel (pixel size 2).
  static QPoint lcdPoint(int x, int y) { return {34 + 2 * x + 1, 62 + 2 * y + 1}; }

  gui::SkinViewDescription view;
  gui::IWindow* window = nullptr;
  QWidget* widget = nullptr;
};

TEST_F(DisplayTest, WindowTakesTheSkinsSizePlaceTitleAndShape) {
  EXPECT_EQ(widget->size(), QSize(330, 624));
  const gui::WindowRect rect = window->rect();
  EXPECT_EQ(rect.left, 80);
  EXPECT_EQ(rect.top, 40);
  EXPECT_TRUE(window->showsSkin());
  // The region file rounds the corners off.
  EXPECT_FALSE(widget->mask().contains(QPoint(0, 0)));
  EXPECT_TRUE(widget->mask().contains(QPoint(165, 312)));
  window->moveTo(200, 150);
  EXPECT_EQ(window->rect().left, 200);
  EXPECT_EQ(window->rect().top, 150);
  plugins().windows->setTopmost(true);
  EXPECT_TRUE(widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(widget->isVisible()) << "changing the hint shows the window again";
  plugins().windows->setTopmost(false);
  EXPECT_FALSE(widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(DisplayTest, LcdShowsTheBlockInTheSkinsColoursAndPixelSize) {
  core().publish([](auto& block) {
    setPixel(block, 0, 0);
    setPixel(block, 8, 1);
    setPixel(block, 130, 63);
  });
  ASSERT_TRUE(waitFor([&] { return grab().pixel(lcdPoint(8, 1)) == kForeground; }));
  const QImage image = grab();
  EXPECT_EQ(image.pixel(lcdPoint(0, 0)), kForeground);
  EXPECT_EQ(image.pixel(lcdPoint(0, 0) - QPoint(1, 1)), kForeground) << "2 x 2 window pixels";
  EXPECT_EQ(image.pixel(lcdPoint(130, 63)), kForeground);
  EXPECT_EQ(image.pixel(lcdPoint(1, 0)), kBackground);
  EXPECT_EQ(image.pixel(lcdPoint(7, 1)), kBackground);
  EXPECT_EQ(image.pixel(lcdPoint(129, 63)), kBackground);
}

TEST_F(DisplayTest, LatestOfManyQuickChangesIsShown) {
  for (int x = 0; x < 100; ++x) {
    core().publish([x](auto& block) {
      block.fill(0);
      setPixel(block, x, 10);
    });
  }
  ASSERT_TRUE(waitFor([&] { return grab().pixel(lcdPoint(99, 10)) == kForeground; }));
  EXPECT_EQ(grab().pixel(lcdPoint(98, 10)), kBackground);
}

TEST_F(DisplayTest, LitAnnunciatorIsCutFromTheIconPicture) {
  const QRect shiftIcon(34 + 58, 50 + 1, 16, 10);
  const QRect alphaIcon(34 + 145, 50 + 1, 16, 10);
  auto drawn = [&](const QImage& image, const QRect& icon) {
    for (int y = icon.top(); y <= icon.bottom(); ++y) {
      for (int x = icon.left(); x <= icon.right(); ++x) {
        if (image.pixel(x, y) != kBackground) {
          return true;
        }
      }
    }
    return false;
  };
  ASSERT_FALSE(drawn(grab(), shiftIcon));
  core().publish([](auto& block) { block[20 * 1 + 16] |= 0x08; });
  ASSERT_TRUE(waitFor([&] { return drawn(grab(), shiftIcon); }));
  EXPECT_FALSE(drawn(grab(), alphaIcon));
}

TEST_F(DisplayTest, ForceUpdateRedrawsWithoutTheHook) {
  {
    std::lock_guard guard(core().lock);
    setPixel(core().block, 50, 20);
  }
  run(u"forceNEXOUpdate");
  ASSERT_TRUE(waitFor([&] { return grab().pixel(lcdPoint(50, 20)) == kForeground; }));
}

TEST_F(DisplayTest, PressedRegionLooksDifferentUntilReset) {
  const QRect key(20, 214, 42, 18);
  const QImage normal = grab().copy(key);
  plugins().pressRegion(gui::kFloatingWindowClass, key.x(), key.y(), key.width(), key.height());
  ASSERT_TRUE(waitFor([&] { return grab().copy(key) != normal; }));
  // Drawn from another thread too: the caller does not wait for the GUI.
  std::thread([&] {
    plugins().resetRegion(gui::kFloatingWindowClass, key.x(), key.y(), key.width(), key.height());
  }).join();
  ASSERT_TRUE(waitFor([&] { return grab().copy(key) == normal; }));
}

TEST_F(DisplayTest, ClearUpdatesDrawsEveryRegionNormal) {
  const QRect key(70, 214, 41, 18);
  const QImage normal = grab().copy(key);
  plugins().pressRegion(gui::kFloatingWindowClass, key.x(), key.y(), key.width(), key.height());
  ASSERT_TRUE(waitFor([&] { return grab().copy(key) != normal; }));
  window->clearUpdates();
  ASSERT_TRUE(waitFor([&] { return grab().copy(key) == normal; }));
}

TEST_F(DisplayTest, FullscreenViewCoversTheScreenAndShowsTheDisplayWhereTold) {
  gui::SkinViewDescription full;
  full.title = u"Full";
  full.style = gui::kStyleFullscreen;
  full.backgroundRed = 16;
  full.backgroundGreen = 18;
  full.backgroundBlue = 22;
  full.lcd = view.lcd;
  full.lcd.offsetX = 100;
  full.lcd.offsetY = 200;
  full.lcd.pixelSize = 5;
  gui::IWindow* fullscreen = plugins().windows->createWindow(gui::kFullscreenWindowClass, full);
  plugins().windows->show(gui::kFloatingWindowClass, gui::kShowLeave);
  plugins().windows->show(gui::kFullscreenWindowClass, gui::kShowEnter);
  plugins().windows->show(gui::kFullscreenWindowClass, gui::kShowActivate);
  EXPECT_FALSE(widget->isVisible());
  QWidget* fullWidget = topLevel("Full");
  ASSERT_NE(fullWidget, nullptr);
  EXPECT_EQ(fullWidget->size(), QGuiApplication::primaryScreen()->geometry().size());
  EXPECT_TRUE(fullscreen->showsSkin()) << "its hit test answers, so a double click returns";
  plugins().attachNexo(gui::kFullscreenWindowClass, &core().record, full.lcd, {});
  core().publish([](auto& block) { setPixel(block, 1, 0); });
  auto image = [&] { return fullWidget->grab().toImage(); };
  ASSERT_TRUE(waitFor([&] { return image().pixel(100 + 5 + 4, 200) == kForeground; }));
  EXPECT_EQ(image().pixel(100 + 4, 204), kBackground);
  EXPECT_EQ(image().pixel(99, 200), qRgb(16, 18, 22));
  EXPECT_EQ(image().pixel(100 + 5 * 131, 200), qRgb(16, 18, 22));
  fullscreen->close();
}

TEST_F(DisplayTest, SolidBackgroundAndMissingPicture) {
  gui::SkinViewDescription plain;
  plain.title = u"Plain";
  plain.width = 40;
  plain.height = 30;
  plain.style = gui::kStyleWindow;
  plain.overlay.bitmap = demoFile("no-such-picture.png");
  gui::IWindow* other = plugins().windows->createWindow(u"PlainTest", plain);
  EXPECT_FALSE(other->showsSkin()) << "a missing picture leaves the window without a skin";
  EXPECT_TRUE(other->addElement(u"SOLIDBG", gui::SolidBackground{10, 20, 30, 20, 10, 5, 5}));
  EXPECT_FALSE(other->addElement(u"SOLIDBG", gui::ButtonElement{}));
  EXPECT_FALSE(other->addElement(u"NOTHING", gui::SolidBackground{}));
  other->show();
  QWidget* plainWidget = topLevel("Plain");
  ASSERT_NE(plainWidget, nullptr);
  const QImage image = plainWidget->grab().toImage();
  EXPECT_EQ(image.pixel(10, 10), qRgb(10, 20, 30));
  EXPECT_EQ(image.pixel(30, 10), qRgb(0, 0, 0));
  other->close();
  EXPECT_EQ(plugins().windows->window(u"PlainTest"), nullptr);
}

}  // namespace
}  // namespace tavrel::test
