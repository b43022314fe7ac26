#include <gtest/gtest.h>

#include <memory>

#include "skin/SkinCommands.h"
#include "skin_fixture.h"
#include "tavrel/ScriptedHostUi.h"
#include "tavrel/excpt/Exception.h"

namespace tavrel::skintest {
namespace {

namespace fs = std::filesystem;

class RecordingMenuManager final : public gui::IMenuManager {
 public:
  void refreshMenu(const std::u16string&) override {}
  xml::IXMLSAXContentHandler* menuBarHandler(const std::u16string&, bool) override {
    return nullptr;
  }
  void addItem(const std::u16string& menu, const std::u16string& label,
               const std::u16string& commandLine) override {
    items.push_back(menu + u"|" + label + u"|" + commandLine);
  }
  void clearMenu(const std::u16string& menu) override { items.push_back(u"clear " + menu); }

  std::vector<std::u16string> items;
};

// The skin commands in the real command service, with a menu manager behind
// "loadMenuManager", the headless host UI and language texts "T<id>".
class SkinCommandsTest : public ShellPluginsTest {
 protected:
  void SetUp() override {
    ShellPluginsTest::SetUp();
    fn::Function<fn::ret<void*>> loadMenuManager([this]() -> void* { return &menus; });
    commands.getRegistry()->add(
        commands.createCommand(u"loadMenuManager", loadMenuManager.detach(), nullptr, {}));
    SkinCommandServices services{commands, catalog, xml,
                                 [](std::int32_t id) { return u"T" + u16(std::to_string(id)); },
                                 [this] { return current; }};
    skinCommands = std::make_unique<CSkinCommands>(std::move(services));
    ui.reset();
    ui.setEcho(false);
  }

  void TearDown() override {
    skinCommands.reset();
    ui.reset();
    ShellPluginsTest::TearDown();
  }

  void skin(const std::string& where, const std::string& name, const std::string& dir) {
    write(where + "/skin.xml", "<tavrel_skin name=\"" + name + "\" dir=\"" + dir + "\"/>");
    write(where + "/body.bmp", "picture");
  }

  std::vector<std::u16string> messages() const {
    std::vector<std::u16string> texts;
    for (const gui::HostUiCall& call : ui.calls()) {
      if (call.kind == gui::HostUiCall::Kind::Message) {
        texts.push_back(call.message.title + u": " + call.message.text);
      }
    }
    return texts;
  }

  void run(const std::u16string& line) { dispatcher().executeLine(line, 1); }

  gui::CScriptedHostUi& ui = gui::headlessHostUi();
  RecordingMenuManager menus;
  CSkinCatalog catalog{xml};
  std::u16string current;
  std::unique_ptr<CSkinCommands> skinCommands;
};

TEST_F(SkinCommandsTest, SkinListOffersEverySkinWithItsNameEncoded) {
  skin("data/skins/Blue", "Blue Skin", "Blue");
  skin("data/skins/Red", "Red", "Red");
  run(u"skin_list Skins");
  EXPECT_EQ(menus.items,
            (std::vector<std::u16string>{u"clear Skins", u"Skins|Blue Skin|load_skin Blue#Skin",
                                         u"Skins|Red|load_skin Red"}));
}

TEST_F(SkinCommandsTest, DeleteListLeavesOutTheCurrentAndThe1024x768Skins) {
  skin("data/skins/Blue", "Blue Skin", "Blue");
  skin("data/skins/Red", "Red", "Red");
  skin("data/skins/Full", "Red 1024x768", "Full");
  current = u"Red";
  run(u"del_skin_list Delete");
  EXPECT_EQ(menus.items, (std::vector<std::u16string>{u"clear Delete",
                                                      u"Delete|Blue Skin|delete_skin Blue#Skin"}));
}

TEST_F(SkinCommandsTest, ListsWithoutSkinsRaise4001) {
  EXPECT_THROW(run(u"skin_list Skins"), excpt::NoSkinInstalledException);
  EXPECT_THROW(run(u"del_skin_list Skins"), excpt::NoSkinInstalledException);
}

TEST_F(SkinCommandsTest, InstallCopiesTheFilesOfTheChosenFolder) {
  skin("data/skins/Blue", "Blue", "Blue");
  skin("download/green", "Green Skin", "Green");
  write("download/green/sub/extra.bmp", "not copied");
  ui.queuePath((folder / "download/green/skin.xml").u16string());
  run(u"install_skin");
  EXPECT_TRUE(fs::exists(folder / "data/skins/Green/skin.xml"));
  EXPECT_TRUE(fs::exists(folder / "data/skins/Green/body.bmp"));
  EXPECT_FALSE(fs::exists(folder / "data/skins/Green/sub"));
  EXPECT_EQ(messages(), (std::vector<std::u16string>{u"T4108: T4107"}));
  EXPECT_EQ(catalog.folderOf(u"Green Skin"), u"Green");
  EXPECT_EQ(catalog.folderOf(u"Blue"), u"Blue");
  EXPECT_EQ(ui.calls().front().dialog.title, u"Locate Skin Script");
}

TEST_F(SkinCommandsTest, InstallingANameAlreadyInstalledChangesNothingOnDisk) {
  skin("data/skins/Blue", "Blue", "Blue");
  skin("download/other", "Blue", "BlueCopy");
  ui.queuePath((folder / "download/other/skin.xml").u16string());
  run(u"install_skin");
  EXPECT_FALSE(fs::exists(folder / "data/skins/BlueCopy"));
  EXPECT_EQ(messages(), (std::vector<std::u16string>{u"T4108: T4104BlueT4105"}));
}

TEST_F(SkinCommandsTest, InstallRefusesFolderNamesThatLeaveTheSkinsFolder) {
  for (const char* dir : {"../escape", "..", "a/b", "", "C:x"}) {
    ui.reset();
    skin("download/bad", "Bad", dir);
    ui.queuePath((folder / "download/bad/skin.xml").u16string());
    run(u"install_skin");
    EXPECT_EQ(messages(), (std::vector<std::u16string>{u"T4108: T4106"})) << dir;
  }
  EXPECT_FALSE(fs::exists(folder / "data/escape"));
  EXPECT_FALSE(fs::exists(folder / "data/skins"));
}

TEST_F(SkinCommandsTest, InstallOfASkinAlreadyInPlaceCopiesNothing) {
  skin("data/skins/Placed", "Placed", "Elsewhere");
  ui.queuePath((folder / "data/skins/Placed/skin.xml").u16string());
  run(u"install_skin");
  EXPECT_FALSE(fs::exists(folder / "data/skins/Elsewhere"));
  EXPECT_EQ(catalog.folderOf(u"Placed"), u"Placed");
}

TEST_F(SkinCommandsTest, ACancelledDialogOrUnreadableFileInstallsNothing) {
  run(u"install_skin");
  EXPECT_TRUE(messages().empty());
  write("download/broken/skin.xml", "<tavrel_skin name=");
  ui.queuePath((folder / "download/broken/skin.xml").u16string());
  run(u"install_skin");
  EXPECT_EQ(messages(), (std::vector<std::u16string>{u"T4108: T4106"}));
}

TEST_F(SkinCommandsTest, DeleteRemovesTheFolderOnlyAfterConfirmation) {
  skin("data/skins/Blue", "Blue Skin", "Blue");
  skin("data/skins/Red", "Red", "Red");
  ui.queueAnswer(gui::MessageAnswer::Cancel);
  run(u"delete_skin Blue#Skin");
  EXPECT_TRUE(fs::exists(folder / "data/skins/Blue"));
  EXPECT_EQ(messages(), (std::vector<std::u16string>{u"T4101: T4102Blue SkinT4103"}));

  ui.queueAnswer(gui::MessageAnswer::Ok);
  run(u"delete_skin Blue#Skin");
  EXPECT_FALSE(fs::exists(folder / "data/skins/Blue"));
  EXPECT_EQ(catalog.installed(), (InstalledSkins{{u"Red", u"Red"}}));
}

TEST_F(SkinCommandsTest, DeleteRemovesALinkNotWhatItPointsTo) {
  write("precious/keep.txt", "keep");
  skin("precious", "Linked", "Linked");
  fs::create_directories(folder / "data/skins");
  fs::create_directory_symlink(folder / "precious", folder / "data/skins/Linked");
  ui.queueAnswer(gui::MessageAnswer::Ok);
  run(u"delete_skin Linked");
  EXPECT_FALSE(fs::exists(folder / "data/skins/Linked"));
  EXPECT_TRUE(fs::exists(folder / "precious/keep.txt"));
}

TEST_F(SkinCommandsTest, DeletingASkinThatIsNotInstalledRaises4002) {
  skin("data/skins/Red", "Red", "Red");
  EXPECT_THROW(run(u"delete_skin Blue"), excpt::SkinNotInstalledException);
  EXPECT_TRUE(messages().empty());
}

}  // namespace
}  // namespace tavrel::skintest
