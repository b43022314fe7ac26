// What each built skin.xml says: the required parts, a region and a label for every key of
// the key set, PC keys that reach real keys, and a menu bar of commands the system has.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <set>

#include "skin_model.h"

namespace tavrel::skintest {
namespace {

class SkinContentTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    skin = readSkin(builtSkinDir(GetParam()) + "/skin.xml");
    ASSERT_TRUE(skin.parseError.isEmpty()) << skin.parseError.toStdString();
    keyNames = emuKeyNames();
    ASSERT_EQ(keyNames.size(), 51) << "data/emu_keys.xml";
  }

  const QString* pcKeyTarget(int code) const {
    for (const auto& [key, name] : skin.pcKeys) {
      if (key == code) {
        return &name;
      }
    }
    return nullptr;
  }

  SkinModel skin;
  QStringList keyNames;
};

TEST_P(SkinContentTest, HasEveryRequiredPart) {
  EXPECT_EQ(skin.dir, GetParam());
  EXPECT_FALSE(skin.name.isEmpty());
  EXPECT_EQ(skin.rom, "demo.rom");
  EXPECT_EQ(skin.lib, "nexocore.dll");
  EXPECT_TRUE(skin.hasFloating && skin.hasFullscreen && skin.hasEmuKeys && skin.hasIndex);
  EXPECT_FALSE(skin.floating.title.isEmpty());
  EXPECT_FALSE(skin.fullscreen.title.isEmpty());
  for (const QString& picture :
       {skin.floating.image, skin.floating.stripImage, skin.fullscreen.stripImage}) {
    EXPECT_TRUE(QFileInfo::exists(builtSkinDir(GetParam()) + "/" + picture))
        << picture.toStdString();
  }
  EXPECT_EQ(skin.info["name"], skin.name);
  EXPECT_FALSE(skin.info["description"].isEmpty());
}

TEST_P(SkinContentTest, EveryKeyOfTheKeySetHasOneRegionAndALabel) {
  std::map<QString, int> regionsOf;
  for (const KeyRegionEntry& region : skin.regions) {
    if (!region.isCommand) {
      EXPECT_TRUE(keyNames.contains(region.name)) << "unknown key " << region.name.toStdString();
      ++regionsOf[region.name];
    }
  }
  for (const QString& key : keyNames) {
    EXPECT_EQ(regionsOf[key], 1) << key.toStdString();
    EXPECT_FALSE(skin.labels[key].isEmpty()) << key.toStdString();
  }
  EXPECT_EQ(skin.labels.size(), static_cast<std::size_t>(keyNames.size()));
}

TEST_P(SkinContentTest, PcKeysReachExistingKeysOnce) {
  std::set<int> seen;
  std::set<QString> commands;
  for (const KeyRegionEntry& region : skin.regions) {
    if (region.isCommand) {
      commands.insert(region.name);
    }
  }
  for (const auto& [code, name] : skin.pcKeys) {
    EXPECT_TRUE(code > 0 && code < 256) << code;
    EXPECT_TRUE(seen.insert(code).second) << "virtual key " << code << " is mapped twice";
    EXPECT_TRUE(keyNames.contains(name) || commands.contains(name))
        << code << " maps to " << name.toStdString();
  }
  const std::map<int, QString> expected = {
      {0x30, "KEY_0"},     {0x39, "KEY_9"},         {0x60, "KEY_0"},        {0x69, "KEY_9"},
      {0x6B, "KEY_PLUS"},  {0x6D, "KEY_MINUS"},     {0x6A, "KEY_MULTIPLY"}, {0x6F, "KEY_DIVIDE"},
      {0x0D, "KEY_ENTER"}, {0x08, "KEY_BACKSPACE"}, {0x1B, "KEY_ON"},       {0x25, "KEY_LEFT"},
      {0x26, "KEY_UP"},    {0x27, "KEY_RIGHT"},     {0x28, "KEY_DOWN"},     {0x70, "KEY_F1"},
      {0x75, "KEY_F6"},    {0xBE, "KEY_POINT"},     {0x20, "KEY_SPACE"},    {0x09, "KEY_SHIFT"},
      {0x14, "KEY_ALPHA"},
  };
  for (const auto& [code, key] : expected) {
    const QString* target = pcKeyTarget(code);
    ASSERT_NE(target, nullptr) << "virtual key " << code << " is not mapped";
    EXPECT_EQ(*target, key) << code;
  }
}

TEST_P(SkinContentTest, MenuButtonOpensTheMenuBelowItself) {
  const auto menu = std::find_if(skin.regions.begin(), skin.regions.end(),
                                 [](const KeyRegionEntry& r) { return r.name == "menu"; });
  ASSERT_NE(menu, skin.regions.end());
  EXPECT_TRUE(menu->isCommand);
  EXPECT_EQ(menu->down, QStringLiteral("show_menu %1 %2")
                            .arg(menu->rect.left())
                            .arg(menu->rect.top() + menu->rect.height()));
}

TEST_P(SkinContentTest, MenuBarOffersTheCommandsOfTheSystem) {
  // Commands registered by the shell, the core and the preferences, tips and macro services.
  const std::set<QString> known = {
      "restore_state", "save",        "save_state",   "load_object",
      "store_object",  "load_string", "store_string", "export_statfolio",
      "close_app",     "reset",       "newromstate",  "toggle_fullscreen",
      "install_skin",  "show_prefs",  "show_tip",     "record_macro",
      "stop_recording_macro", "play_macro", "stop_playing_macro"};
  std::set<QString> offered;
  for (const MenuItem& item : skin.menuItems) {
    EXPECT_FALSE(item.label.isEmpty());
    if (!item.fill.isEmpty()) {
      EXPECT_FALSE(item.name.isEmpty()) << "a filled menu needs a name";
      offered.insert(item.fill);
      continue;
    }
    const QString command = item.command.section(' ', 0, 0);
    EXPECT_TRUE(known.contains(command)) << item.command.toStdString();
    offered.insert(command);
  }
  for (const char* required :
       {"restore_state", "save_state", "load_object", "store_object", "load_string", "store_string",
        "export_statfolio", "show_prefs", "toggle_fullscreen", "skin_list", "close_app"}) {
    EXPECT_TRUE(offered.contains(required)) << required;
  }
}

INSTANTIATE_TEST_SUITE_P(BuiltSkins, SkinContentTest, ::testing::Values("demo", "large"));

TEST(SkinSetTest, BuildPaintsTwoDistinctSkins) {
  EXPECT_EQ(builtSkins(), (QStringList{"demo", "large"}));
  const SkinModel demo = readSkin(builtSkinDir("demo") + "/skin.xml");
  const SkinModel large = readSkin(builtSkinDir("large") + "/skin.xml");
  EXPECT_NE(demo.name, large.name);
  // The large skin is the demo face at one and a half times the size.
  EXPECT_EQ(large.floating.window.width(), demo.floating.window.width() * 3 / 2);
  EXPECT_EQ(large.floating.pixelSize, demo.floating.pixelSize * 3 / 2);
  EXPECT_FALSE(demo.floating.region.isEmpty());
  EXPECT_TRUE(large.floating.region.isEmpty());
}

}  // namespace
}  // namespace tavrel::skintest
