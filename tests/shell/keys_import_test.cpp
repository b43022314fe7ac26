#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "keys/KeyMapImporter.h"
#include "keys/KeySetFile.h"
#include "skin_fixture.h"

namespace tavrel::skintest {
namespace {

TEST(KeysSetFile, PathComesFromTheSettingsAndDefaultsAreWritten) {
  const std::filesystem::path store =
      std::filesystem::temp_directory_path() / ("tavrel-keys-" + std::to_string(getpid()));
  std::filesystem::remove(store);
  {
    CRegistry registry(store.u16string(), u"");
    EXPECT_EQ(keySetFilePath(registry), u"data/emu_keys.xml");
    EXPECT_EQ(registry.readText(u"", u"DataPath"), u"data");
    EXPECT_EQ(registry.readText(u"", u"KeyDefFile"), u"emu_keys.xml");
    registry.writeText(u"", u"DataPath", u"other\\keys");
    registry.writeText(u"", u"KeyDefFile", u"");
    EXPECT_EQ(keySetFilePath(registry), u"other/keys/emu_keys.xml");
  }
  std::filesystem::remove(store);
}

using KeysSetImportTest = ShellPluginsTest;

TEST_F(KeysSetImportTest, ReadsKeysWithAllTheirNames) {
  write("emu_keys.xml",
        "<keys><id>ORPHAN</id>"
        "<key code=\"65539\"><id> KEY_SHIFT </id><id>KEY_ALPHA</id></key>"
        "<key code=\"-2\"><id>KEY_ON</id><id></id></key>"
        "<key><id>KEY_ZERO</id></key></keys>");
  CEmulatorKeySet keys;
  ASSERT_TRUE(loadKeySet(xml, u"emu_keys.xml", keys));
  ASSERT_EQ(keys.keys().size(), 3u);
  EXPECT_EQ(keys.find(u"KEY_ALPHA"), keys.find(u"KEY_SHIFT"));
  EXPECT_EQ(keys.find(u"KEY_SHIFT")->press, (KeyMessage{0, 65539, 0}));
  EXPECT_EQ(keys.find(u"KEY_SHIFT")->release, (KeyMessage{1, 65539, 0}));
  EXPECT_EQ(keys.find(u"KEY_ON")->press.first, 0xFFFFFFFEu);
  EXPECT_EQ(keys.find(u"KEY_ON")->names.size(), 1u);
  EXPECT_EQ(keys.find(u"KEY_ZERO")->press.first, 0u);
  EXPECT_EQ(keys.find(u"ORPHAN"), nullptr);
}

TEST_F(KeysSetImportTest, TheShippedKeySetHasEveryCalculatorKey) {
  const char* source = std::getenv("TAVREL_SOURCE_DIR");
  ASSERT_NE(source, nullptr);
  CEmulatorKeySet keys;
  ASSERT_TRUE(loadKeySet(xml, u16(source) + u"/data/emu_keys.xml", keys));
  EXPECT_EQ(keys.keys().size(), 51u);
  ASSERT_NE(keys.find(u"KEY_ON"), nullptr);
  EXPECT_EQ(keys.find(u"KEY_ON")->press, (KeyMessage{0, 0x70003, 0}));
}

TEST_F(KeysSetImportTest, ABrokenFileKeepsTheKeysAlreadyRead) {
  write("good.xml", "<keys><key code=\"1\"><id>KEY_A</id></key></keys>");
  write("bad.xml", "<keys><key code=\"2\"><id>KEY_B</id></key>");
  CEmulatorKeySet keys;
  ASSERT_TRUE(loadKeySet(xml, u"good.xml", keys));
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(loadKeySet(xml, u"bad.xml", keys));
  EXPECT_FALSE(loadKeySet(xml, u"missing.xml", keys));
  const std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find("key set: "), std::string::npos);
  EXPECT_NE(keys.find(u"KEY_A"), nullptr);
  EXPECT_EQ(keys.find(u"KEY_B"), nullptr);
}

// The "emu_keys" part of a skin file, read through the real parser.
class KeysMapImportTest : public ShellPluginsTest {
 protected:
  void SetUp() override {
    ShellPluginsTest::SetUp();
    recordCommand(u"key_down");
    recordCommand(u"key_up");
    recordCommand(u"menu_down");
    recordCommand(u"menu_up");
    keyMap.hitMap.resize(100, 50);
  }

  void import(const std::string& content, ICommandCache* cache) {
    write("keys.xml", "<emu_keys>" + content + "</emu_keys>");
    RegionPainterBinder binder = [this](const std::u16string& name, const KeyRegion&) {
      return RegionPainter(
          [this, name](std::u16string window) { painted.push_back(name + u" " + window); });
    };
    xml.parse(new CKeyMapImporter(keyMap, cache, binder), u"keys.xml");
  }
  void import(const std::string& content) { import(content, commands.getCache()); }

  std::string region(int x, int y, int width, int height, const std::string& painter = "down") {
    return "<pixel_region><origin x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) +
           "\"/><dimensions width=\"" + std::to_string(width) + "\" height=\"" +
           std::to_string(height) + "\"/><function name=\"" + painter + "\"/></pixel_region>";
  }

  KeyMap keyMap;
  std::vector<std::u16string> painted;
};

TEST_F(KeysMapImportTest, FilesRegionsOfCalculatorKeysAndCommandKeys) {
  import("<emu_key_code name=\"KEY_A\"/>" + region(0, 0, 10, 10) + region(60, 0, 5, 5) +
         "<command name=\"menu\" down=\"menu_down M\" up=\"menu_up M\">" + region(20, 20, 5, 5) +
         "</command>");
  const RegionCommand* press = keyMap.regions.emulatorPressAt(62, 5);
  ASSERT_NE(press, nullptr);
  EXPECT_EQ(press->id, idOf(u"key_down KEY_A"));
  EXPECT_EQ(keyMap.regions.emulatorReleaseAt(10, 10)->id, idOf(u"key_up KEY_A"));
  EXPECT_EQ(keyMap.regions.commandPressAt(25, 25)->id, idOf(u"menu_down M"));
  EXPECT_EQ(keyMap.regions.emulatorPressAt(25, 25), nullptr);
  EXPECT_EQ(keyMap.regions.regionsNamed(u"KEY_A").size(), 2u);
  EXPECT_TRUE(keyMap.hitMap.isMarked(9, 9));
  EXPECT_FALSE(keyMap.hitMap.isMarked(10, 10));  // the closed edge is clickable, not marked
  EXPECT_TRUE(keyMap.hitMap.isMarked(22, 22));
}

TEST_F(KeysMapImportTest, RegionsBindTheirPaintersAndTheReset) {
  import("<emu_key_code name=\"KEY_A\"/>" + region(0, 0, 4, 4, "drawHighlight"));
  auto regions = keyMap.regions.regionsNamed(u"KEY_A");
  ASSERT_EQ(regions.size(), 1u);
  regions[0]->drawPressed(u"W");
  regions[0]->drawNormal(u"W");
  EXPECT_EQ(painted, (std::vector<std::u16string>{u"drawHighlight W", u"resetViewportRegion W"}));
}

TEST_F(KeysMapImportTest, RegionsOutsideTheMapOrOverlappingStayClickableButUnmarked) {
  import("<emu_key_code name=\"KEY_A\"/>" + region(95, 0, 5, 5) + region(0, 0, 10, 10) +
         "<emu_key_code name=\"KEY_B\"/>" + region(5, 5, 10, 10) + region(-5, 0, 3, 3));
  EXPECT_FALSE(keyMap.hitMap.isMarked(97, 2));
  EXPECT_EQ(keyMap.regions.emulatorPressAt(97, 2)->id, idOf(u"key_down KEY_A"));
  EXPECT_FALSE(keyMap.hitMap.isMarked(14, 14));
  EXPECT_EQ(keyMap.regions.emulatorPressAt(14, 14)->id, idOf(u"key_down KEY_B"));
  // Where they overlap, the first filed region wins.
  EXPECT_EQ(keyMap.regions.emulatorPressAt(7, 7)->id, idOf(u"key_down KEY_A"));
  EXPECT_EQ(keyMap.regions.emulatorPressAt(-4, 1)->id, idOf(u"key_down KEY_B"));
}

TEST_F(KeysMapImportTest, PcKeysMapToTheCurrentDefinition) {
  keyMap.pcKeys.down[1] = 99;  // left from an earlier skin
  import(
      "<emu_key_code name=\"KEY_A\"><win_os_key_msg> 65 </win_os_key_msg>"
      "<win_os_key_msg>256</win_os_key_msg><win_os_key_msg>-1</win_os_key_msg>"
      "<win_os_key_msg>x</win_os_key_msg></emu_key_code>"
      "<command name=\"menu\" down=\"menu_down M\" up=\"menu_up M\"/>"
      "<win_os_key_msg>255</win_os_key_msg>");
  EXPECT_EQ(keyMap.pcKeys.down[1], 0);
  EXPECT_EQ(keyMap.pcKeys.down[65], idOf(u"key_down KEY_A"));
  EXPECT_EQ(keyMap.pcKeys.up[65], idOf(u"key_up KEY_A"));
  EXPECT_EQ(keyMap.pcKeys.down[255], idOf(u"menu_down M"));
  EXPECT_EQ(keyMap.pcKeys.up[255], idOf(u"menu_up M"));
  int mapped = 0;
  for (std::uint16_t id : keyMap.pcKeys.down) {
    mapped += id != 0;
  }
  EXPECT_EQ(mapped, 2);
}

TEST_F(KeysMapImportTest, ACommandWithoutAllThreeAttributesDefinesNothing) {
  import("<emu_key_code name=\"KEY_A\"/><command name=\"menu\" down=\"menu_down M\"/>" +
         region(0, 0, 5, 5) + "<win_os_key_msg>65</win_os_key_msg>" + "<emu_key_code/>" +
         region(20, 0, 5, 5));
  EXPECT_EQ(keyMap.regions.emulatorPressAt(1, 1), nullptr);
  EXPECT_EQ(keyMap.regions.commandPressAt(1, 1), nullptr);
  EXPECT_EQ(keyMap.regions.emulatorPressAt(21, 1), nullptr);
  EXPECT_EQ(keyMap.pcKeys.down[65], 0);
  EXPECT_FALSE(keyMap.hitMap.isMarked(1, 1));
}

TEST_F(KeysMapImportTest, WithoutACommandCacheNothingIsFiled) {
  import("<emu_key_code name=\"KEY_A\"><win_os_key_msg>65</win_os_key_msg></emu_key_code>" +
             region(0, 0, 5, 5),
         nullptr);
  EXPECT_EQ(keyMap.regions.emulatorPressAt(1, 1), nullptr);
  EXPECT_EQ(keyMap.pcKeys.down[65], 0);
}

}  // namespace
}  // namespace tavrel::skintest
