// The dialog commands and the remembered state: which file "save", "restorethis" and the
// dialogs pick, what the settings store keeps and the window title.
#include "CoreStateFixture.h"
#include "StateImage.h"
#include "settings/CoreSettings.h"
#include "state/StateCommands.h"
#include "tavrel/SkinWindow.h"

namespace tavrel::core_state_test {
namespace {

constexpr std::u16string_view kSkinKey = u"skins\\Demo Blue (large)";
constexpr std::u16string_view kRomKey = u"ROM\\ZR T6";

class StateFlowTest : public CoreStateFixture {
 protected:
  std::u16string saved(std::u16string_view key) const { return registry_->readText(key, u"Saved"); }
  std::u16string opened() const { return registry_->readText(kSkinKey, u"Opened"); }
  void putOpened(const std::u16string& path) {
    registry_->createKey(u"", kSkinKey);
    registry_->writeText(kSkinKey, u"Opened", path);
  }
};

TEST_F(StateFlowTest, SaveDialogAppendsTheExtensionOnlyToANameWithoutDot) {
  ui_.queuePath(wide(file("plain")));
  core::saveStateDialog();
  EXPECT_TRUE(std::filesystem::exists(file("plain.vstate")));
  ui_.queuePath(wide(file("state.bak")));
  core::saveStateDialog();
  EXPECT_TRUE(std::filesystem::exists(file("state.bak")));
  EXPECT_FALSE(std::filesystem::exists(file("state.bak.vstate")));

  const std::vector<gui::HostUiCall> shown = dialogs();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].kind, gui::HostUiCall::Kind::SaveFile);
  EXPECT_EQ(shown[0].dialog.filter, u"ZR Calvane State Files (*.vstate;*.bin)");
  EXPECT_EQ(shown[0].dialog.defaultExtension, u"vstate");
  EXPECT_TRUE(shown[0].dialog.flags & gui::kOverwritePrompt);
}

TEST_F(StateFlowTest, SavedFileIsRememberedForSkinAndRomAndNamedInTheTitle) {
  // An older owner of the same file forgets it.
  registry_->createKey(u"", u"skins\\Other");
  registry_->writeText(u"skins\\Other", u"Saved", wide(file("mine.vstate")));
  ui_.queuePath(wide(file("mine")));
  core::saveStateDialog();
  EXPECT_EQ(core::rememberedStatePath(), wide(file("mine.vstate")));
  EXPECT_EQ(saved(kSkinKey), wide(file("mine.vstate")));
  EXPECT_EQ(saved(kRomKey), wide(file("mine.vstate")));
  EXPECT_EQ(saved(u"skins\\Other"), u"");
  EXPECT_EQ(gui::unshownSkinTitle(), u"Demo Blue  - mine.vstate");
}

TEST_F(StateFlowTest, SaveDialogAsksAgainUntilASaveSucceeds) {
  ui_.queuePath(wide(file("missing folder/x.vstate")));
  ui_.queuePath(wide(file("y.vstate")));
  core::saveStateDialog();
  EXPECT_EQ(dialogs().size(), 2u);
  EXPECT_TRUE(std::filesystem::exists(file("y.vstate")));
  EXPECT_EQ(core::rememberedStatePath(), wide(file("y.vstate")));
}

TEST_F(StateFlowTest, SaveWritesTheRememberedFile) {
  ui_.queuePath(wide(file("r.vstate")));
  core::saveStateDialog();
  const auto before = std::filesystem::last_write_time(file("r.vstate"));
  calc_->type("7 ");
  std::filesystem::last_write_time(file("r.vstate"), before - std::chrono::hours(1));
  core::save();
  EXPECT_EQ(dialogs().size(), 1u);  // no second dialog
  EXPECT_GT(std::filesystem::last_write_time(file("r.vstate")), before - std::chrono::hours(1));
}

TEST_F(StateFlowTest, SaveAfterTheRememberedFileWasDeletedUsesOpened) {
  ui_.queuePath(wide(file("gone.vstate")));
  core::saveStateDialog();
  std::filesystem::remove(file("gone.vstate"));
  writeBytes(file("opened.vstate"), {1, 2, 3});
  putOpened(wide(file("opened.vstate")));

  core::save();
  EXPECT_EQ(bytesOf(file("opened.vstate")).size(), 1318914u);
  EXPECT_FALSE(std::filesystem::exists(file("gone.vstate")));
  EXPECT_EQ(opened(), u"");
  EXPECT_EQ(core::rememberedStatePath(), wide(file("opened.vstate")));
  EXPECT_EQ(saved(kSkinKey), wide(file("opened.vstate")));
  EXPECT_EQ(dialogs().size(), 1u);
}

TEST_F(StateFlowTest, SaveWithNothingRememberedFallsToTheDialog) {
  putOpened(wide(file("not there.vstate")));
  ui_.queuePath(wide(file("chosen")));
  core::save();
  EXPECT_EQ(opened(), u"");
  EXPECT_EQ(dialogs().size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(file("chosen.vstate")));
  EXPECT_EQ(core::rememberedStatePath(), wide(file("chosen.vstate")));
}

TEST_F(StateFlowTest, RestoreDialogComplainsAndAsksAgain) {
  ASSERT_TRUE(core::nexoSaveState(wide(file("good.vstate"))));
  writeBytes(file("bad.vstate"), {'n', 'o', 'p', 'e', 0, 0, 0, 0, 0});
  ui_.queuePath(wide(file("bad.vstate")));
  ui_.queuePath(wide(file("good.vstate")));
  core::restoreStateDialog();
  EXPECT_EQ(messages(), std::vector<std::u16string>{u"Open File Error: Could not open file."});
  EXPECT_EQ(dialogs().size(), 2u);
  EXPECT_EQ(dialogs()[0].kind, gui::HostUiCall::Kind::OpenFile);
  EXPECT_EQ(core::rememberedStatePath(), wide(file("good.vstate")));
  EXPECT_EQ(gui::unshownSkinTitle(), u"Demo Blue  - good.vstate");
}

TEST_F(StateFlowTest, RestoreDialogCancelledChangesNothing) {
  ui_.queuePath(std::nullopt);
  core::restoreStateDialog();
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(core::rememberedStatePath(), u"");
}

TEST_F(StateFlowTest, RestoreThisTakesSavedOverAsOpened) {
  ASSERT_TRUE(core::nexoSaveState(wide(file("last.vstate"))));
  registry_->createKey(u"", kSkinKey);
  registry_->writeText(kSkinKey, u"Saved", wide(file("last.vstate")));
  const std::vector<std::uint8_t> saved = machine::encodeState(machine(), u"ZR T6", 0);
  calc_->type("9 ");
  core::restoreThis();
  EXPECT_TRUE(machine::encodeState(machine(), u"ZR T6", 0) == saved);
  EXPECT_EQ(opened(), wide(file("last.vstate")));
  EXPECT_EQ(this->saved(kSkinKey), u"");
  EXPECT_TRUE(messages().empty());
}

TEST_F(StateFlowTest, RestoreThisOfABrokenFileOffersANewStateFile) {
  writeBytes(file("broken.vstate"), {'s', '#', 't', 'a', 'v', 'r', 'e', 'l', 5, 0, 0, 0});
  registry_->createKey(u"", kSkinKey);
  registry_->writeText(kSkinKey, u"Saved", wide(file("broken.vstate")));
  ui_.queuePath(wide(file("fresh")));
  core::restoreThis();
  const std::vector<std::u16string> shown = messages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1], u"Load Error: Could not load file " + wide(file("broken.vstate")) + u" .");
  ASSERT_EQ(dialogs().size(), 1u);
  EXPECT_EQ(dialogs()[0].dialog.title, u"New State File");
  EXPECT_TRUE(std::filesystem::exists(file("fresh.vstate")));
  EXPECT_EQ(core::rememberedStatePath(), wide(file("fresh.vstate")));
}

TEST_F(StateFlowTest, TitleTakesTheNameAfterEitherSeparatorOrTheOpenValue) {
  core::setWindowTitle(u"C:\\states\\win.vstate");
  EXPECT_EQ(gui::unshownSkinTitle(), u"Demo Blue  - win.vstate");
  core_->skin = u"Plain";
  core::setWindowTitle(u"");
  EXPECT_EQ(gui::unshownSkinTitle(), u"Plain");
  registry_->createKey(u"", u"skins\\Plain");
  registry_->writeText(u"skins\\Plain", u"Open", u"/home/me/open.vstate");
  core::setWindowTitle(u"");
  EXPECT_EQ(gui::unshownSkinTitle(), u"Plain - open.vstate");
}

TEST_F(StateFlowTest, SkinKeyFallsBackToInitialSkinThenInitial) {
  core_->skin.clear();
  EXPECT_EQ(core::currentSkinKey(), u"skins\\initial");
  registry_->writeText(u"", u"InitialSkin", u"Startup");
  EXPECT_EQ(core::currentSkinKey(), u"skins\\Startup");
  EXPECT_EQ(core::currentRomKey(), u"ROM\\ZR T6");
}

TEST_F(StateFlowTest, KeysStayRelativeToTheApplicationKeyTheShellNames) {
  core::bindCoreSettings(registry_.get(), u"Software\\Corvanta\\ZRT7 Calvane");
  EXPECT_EQ(core::currentRomKey(), u"ROM\\ZR T6");
  core::bindCoreSettings(registry_.get(), u"Software\\Corvanta\\ZRT7 Calvane\\Core");
  EXPECT_EQ(core::currentSkinKey(), u"Core\\skins\\Demo Blue (large)");
}

}  // namespace
}  // namespace tavrel::core_state_test
