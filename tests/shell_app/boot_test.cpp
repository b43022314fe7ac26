// Start, boot and shutdown of the program: the initial skin, the state kept across runs and
// the boot error boxes.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>

#include "ShellAppFixture.h"
#include "tavrel/Text.h"

namespace tavrel::apptest {
namespace {

constexpr char16_t kDemo[] = u"Tavrel Demo";
constexpr char16_t kDemoKey[] = u"skins\\Tavrel Demo";

using BootTest = ShellAppTest;

TEST_F(BootTest, EmptyInitialSkinBootsTheFirstInstalledSkinAndRemembersIt) {
  registry->writeNumber32(u"", u"PersistState", 0);
  gui::WindowRect placed;
  EXPECT_EQ(runThenClose([&](CShell& running) {
              ASSERT_NE(running.skin(), nullptr);
              EXPECT_TRUE(running.skin()->isLoaded());
              EXPECT_NE(running.skin()->core(), nullptr);
              EXPECT_EQ(running.events().inputWindowClass(), gui::kFloatingWindowClass);
              placed = window(gui::kFloatingWindowClass)->rect();
            }),
            0);
  EXPECT_EQ(registry->readText(u"", u"InitialSkin"), kDemo);
  EXPECT_EQ(registry->readText(u"", u"InitialROM"), u"demo");
  // A skin never moved opens where its file says.
  EXPECT_EQ(placed.left, 80);
  EXPECT_EQ(placed.top, 40);
  EXPECT_TRUE(shell->events().quitFlag());
  EXPECT_EQ(saveDialogs(), 0u);
}

TEST_F(BootTest, FullscreenViewIsCentredWithItsReturnButtonOnA1024By768Screen) {
  registry->writeNumber32(u"", u"PersistState", 0);
  runThenClose([&](CShell& running) {
    const gui::LCDSettings& lcd = running.skin()->description().fullscreen.lcd;
    const gui::AnnounciatorSettings& strip = running.skin()->description().fullscreen.announciator;
    // 131 x 64 pixels of 5 and a strip 24 high: T = 384 - 160.
    EXPECT_EQ(lcd.offsetX, 185);
    EXPECT_EQ(lcd.offsetY, 236);
    EXPECT_EQ(strip.offsetY, 212);
    EXPECT_EQ(strip.width, 655);
    EXPECT_EQ(window(gui::kFullscreenWindowClass)->rect().width, 1024);
    QPushButton* back = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      for (QPushButton* button : top->findChildren<QPushButton*>()) {
        back = button->text() == "Return To Windowed Skin" ? button : back;
      }
    }
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->geometry(), QRect(844, 738, 150, 20));
    // The return button: 150 x 20 at (W - 180, H - 30), sending "toggle_fullscreen".
    recorder.lines.clear();
    const std::uint16_t id = commands.getCache()->id(u"toggle_fullscreen");
    deliver(gui::kFullscreenWindowClass, {gui::MessageKind::Command, id, 0, {}});
    EXPECT_TRUE(running.skin()->isFullscreen());
    EXPECT_EQ(running.events().inputWindowClass(), gui::kFullscreenWindowClass);
  });
  EXPECT_NE(std::find(recorder.lines.begin(), recorder.lines.end(), u"toggle_fullscreen"),
            recorder.lines.end());
}

TEST_F(BootTest, ClosingSavesOnceAndTheNextRunRestoresTheSavedState) {
  QTemporaryDir states;
  const std::u16string state = states.filePath("demo state.vstate").toStdU16String();
  hostUi.queuePath(state);
  runThenClose([&](CShell& running) { EXPECT_TRUE(running.skin()->persistState()); });
  EXPECT_EQ(saveDialogs(), 1u);
  EXPECT_FALSE(shell->skin()->persistState());
  newShell();  // the first shell goes, without saving a second time
  EXPECT_EQ(saveDialogs(), 1u);
  EXPECT_EQ(registry->readText(kDemoKey, u"Saved"), state);
  EXPECT_EQ(registry->readPosition(kDemoKey, u"Pos"), (WindowPosition{80, 40}));

  runThenClose([&](CShell& running) {
    EXPECT_EQ(running.skin()->openedState(), state);
    EXPECT_EQ(registry->readText(kDemoKey, u"Opened"), state);
    EXPECT_EQ(registry->readText(kDemoKey, u"Saved"), u"");
    // The skin name up to its last blank, then the restored file's name.
    QStringList titles;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      titles << top->windowTitle();
    }
    EXPECT_TRUE(titles.contains("Tavrel - demo state.vstate")) << titles.join('|').toStdString();
  });
  // The second close saves into the restored file without asking.
  EXPECT_EQ(saveDialogs(), 1u);
  EXPECT_EQ(registry->readText(kDemoKey, u"Saved"), state);
}

TEST_F(BootTest, NewRomStateSavesThenBootsTheRomWithoutTheState) {
  QTemporaryDir states;
  const std::u16string state = states.filePath("kept.vstate").toStdU16String();
  hostUi.queuePath(state);
  runThenClose([&](CShell& running) {
    running.skin()->newRomState();
    EXPECT_TRUE(running.skin()->isLoaded());
    EXPECT_EQ(running.skin()->openedState(), u"");
    EXPECT_EQ(registry->readText(kDemoKey, u"Saved"), u"");
    // "Save state on exit" stays on for the restarted calculator.
    EXPECT_TRUE(running.skin()->persistState());
  });
  EXPECT_TRUE(QFile::exists(QString::fromStdU16String(state)));
  // The restarted core has no state file: closing asks where to save (and is cancelled).
  EXPECT_EQ(saveDialogs(), 2u);
}

TEST_F(BootTest, AStateFileThatCannotBeReadIsForgottenAndTheRomBootsAlone) {
  registry->writeNumber32(u"", u"PersistState", 0);
  registry->createKey(u"", kDemoKey);
  registry->writeText(kDemoKey, u"Saved", folder.filePath("missing.vstate").toStdU16String());
  runThenClose([&](CShell& running) {
    EXPECT_TRUE(running.skin()->isLoaded());
    EXPECT_EQ(running.skin()->openedState(), u"");
  });
  EXPECT_TRUE(messages().empty());
}

TEST_F(BootTest, LoadingASkinThatIsNotInstalledGoesBackToTheInitialSkin) {
  registry->writeNumber32(u"", u"PersistState", 0);
  runThenClose([&](CShell& running) {
    running.skin()->loadSkinCommand(u"No Such Skin");
    EXPECT_TRUE(running.skin()->isLoaded());
    EXPECT_EQ(running.skin()->name(), kDemo);
    EXPECT_NE(window(gui::kFloatingWindowClass), nullptr);
    EXPECT_FALSE(running.events().quitFlag());
  });
  const std::vector<std::u16string> shown = messages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], u"Skin file not found.");
  EXPECT_EQ(shown[1], u"Cannot Load Skin (Error code: 4002). Reload initial skin.");
  EXPECT_EQ(registry->readText(u"", u"InitialSkin"), kDemo);
}

TEST_F(BootTest, NoInstalledSkinEndsTheBootWithTheTwoErrorBoxes) {
  // A folder with the language files but no skins, as current folder and as program folder.
  QTemporaryDir empty;
  ASSERT_TRUE(QDir().mkpath(empty.filePath("data/lang")));
  ASSERT_TRUE(QFile::copy(QString::fromStdString((buildFolder() / "data/lang/en.xml").string()),
                          empty.filePath("data/lang/en.xml")));
  std::filesystem::current_path(empty.path().toStdString());
  EXPECT_EQ(newShell().run(), 0);
  const std::vector<std::u16string> shown = messages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0],
            u"ZR Calvane.exe : ZR Calvane_MAIN()\nUnknown Error: Unexpected behaviour while "
            u"loading Tavrel. Application cannot continue.");
  EXPECT_TRUE(shown[1].starts_with(u"ZR Calvane_MAIN(): Exception #4001\n")) << toUtf8(shown[1]);
  EXPECT_GT(shown[1].size(), std::u16string(u"ZR Calvane_MAIN(): Exception #4001\n").size());
}

}  // namespace
}  // namespace tavrel::apptest
