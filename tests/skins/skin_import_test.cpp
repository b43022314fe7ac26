// The built skins and the language packs read by the shell's own importers with the real XML
// service: every key is filed, clickable at its centre and marked in the hit map, PC keys reach
// it, and every text of the packs arrives.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <set>

#include "lang/LangFileImporter.h"
#include "lang/TextTable.h"
#include "skin/SkinFile.h"
#include "skin_fixture.h"
#include "skin_model.h"
#include "tavrel/Text.h"

namespace tavrel::skintest {
namespace {

std::u16string wide(const QString& text) {
  return text.toStdU16String();
}

class BuiltSkinImportTest : public ShellPluginsTest,
                            public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    ShellPluginsTest::SetUp();
    // The importer reads data/skins below the current folder, as the program does.
    const QString target =
        QString::fromStdString((folder / "data/skins").string()) + "/" + GetParam();
    ASSERT_TRUE(QDir().mkpath(target));
    const QString source = builtSkinDir(GetParam());
    for (const QString& file : QDir(source).entryList(QDir::Files)) {
      ASSERT_TRUE(QFile::copy(source + "/" + file, target + "/" + file));
    }
    model = readSkin(source + "/skin.xml");
    ASSERT_TRUE(model.parseError.isEmpty());

    SkinImportTarget into{skin, keyMap, commands.getCache(), {}, {}};
    into.bindPainter = [this](const std::u16string& name, const KeyRegion&) {
      painters.insert(name);
      return RegionPainter{};
    };
    into.sections.info = [this] { return new ElementRecorder(info); };
    into.sections.menuBar = [this](bool notPopup) {
      menuNotPopup = notPopup;
      return new ElementRecorder(menu);
    };
    importSkin(xml, fromUtf8(GetParam()), std::move(into));
  }

  SkinModel model;
  SkinDescription skin;
  KeyMap keyMap;
  std::set<std::u16string> painters;
  std::vector<std::u16string> info, menu;
  bool menuNotPopup = false;
};

TEST_P(BuiltSkinImportTest, ReadsTheCoreAndBothViews) {
  const std::u16string folderPath = u"data/skins/" + fromUtf8(GetParam()) + u"/";
  EXPECT_EQ(skin.romPath, u"data/ROM/demo.rom");
  EXPECT_EQ(skin.coreLibrary, u"nexocore.dll");
  EXPECT_EQ(skin.floating.width, model.floating.window.width());
  EXPECT_EQ(skin.floating.overlay.bitmap, folderPath + u"face.png");
  EXPECT_EQ(skin.floating.announciator.image, folderPath + u"annunciators.png");
  EXPECT_EQ(skin.fullscreen.announciator.image, folderPath + u"annunciators_full.png");
  EXPECT_EQ(skin.fullscreen.lcd.pixelSize, model.fullscreen.pixelSize);
  EXPECT_EQ(keyMap.hitMap.width(), model.floating.window.width());
  EXPECT_EQ(keyMap.hitMap.height(), model.floating.window.height());
  // A shaped window has no menu bar: the menu manager is told so.
  const bool shaped = !model.floating.region.isEmpty();
  EXPECT_EQ(skin.floating.style, shaped ? u"POPUP" : u"WINDOW");
  EXPECT_EQ(skin.floating.regionFile, shaped ? folderPath + u"face.rgn" : u"");
  EXPECT_EQ(menuNotPopup, !shaped);
  EXPECT_FALSE(info.empty());
  EXPECT_GT(std::count(menu.begin(), menu.end(), u"item"), 10);
}

TEST_P(BuiltSkinImportTest, EveryKeyIsClickableAtItsCentreAndMarkedInTheHitMap) {
  EXPECT_EQ(painters, (std::set<std::u16string>{u"pressViewportRegion", u"resetViewportRegion"}));
  for (const KeyRegionEntry& entry : model.regions) {
    SCOPED_TRACE(entry.name.toStdString());
    const QPoint centre = entry.rect.center();
    const auto regions = keyMap.regions.regionsNamed(wide(entry.name));
    ASSERT_EQ(regions.size(), 1u);
    EXPECT_TRUE(keyMap.hitMap.isMarked(entry.rect.left(), entry.rect.top()));
    EXPECT_TRUE(keyMap.hitMap.isMarked(entry.rect.right(), entry.rect.bottom()));
    EXPECT_TRUE(keyMap.hitMap.isMarked(centre.x(), centre.y()));
    if (entry.isCommand) {
      const RegionCommand* press = keyMap.regions.commandPressAt(centre.x(), centre.y());
      ASSERT_NE(press, nullptr);
      EXPECT_EQ(press->id, idOf(wide(entry.down)));
    } else {
      const RegionCommand* press = keyMap.regions.emulatorPressAt(centre.x(), centre.y());
      ASSERT_NE(press, nullptr);
      EXPECT_EQ(press->id, idOf(u"key_down " + wide(entry.name)));
    }
  }
  // Between keys the body drags the window.
  EXPECT_FALSE(keyMap.hitMap.isMarked(2, model.floating.window.height() / 2));
}

TEST_P(BuiltSkinImportTest, PcKeysRunTheKeysCommands) {
  EXPECT_EQ(keyMap.pcKeys.down[0x0D], idOf(u"key_down KEY_ENTER"));
  EXPECT_EQ(keyMap.pcKeys.up[0x0D], idOf(u"key_up KEY_ENTER"));
  EXPECT_EQ(keyMap.pcKeys.down[0x1B], idOf(u"key_down KEY_ON"));
  EXPECT_EQ(keyMap.pcKeys.down[0x67], idOf(u"key_down KEY_7"));
  EXPECT_EQ(keyMap.pcKeys.up[0x25], idOf(u"key_up KEY_LEFT"));
  EXPECT_EQ(keyMap.pcKeys.down[0x41], 0) << "A is not mapped";
}

TEST_P(BuiltSkinImportTest, LabelsComeFromTheKeyNameIndex) {
  EXPECT_EQ(skin.keyNameIndex.size(), 51u);
  EXPECT_EQ(skin.keyNameIndex[u"KEY_SHIFT"], u"SHIFT");
  EXPECT_EQ(skin.keyNameIndex[u"KEY_7"], u"7");
}

INSTANTIATE_TEST_SUITE_P(BuiltSkins, BuiltSkinImportTest, ::testing::Values("demo", "large"));

using LangPackImportTest = ShellPluginsTest;

TEST_F(LangPackImportTest, ShellReadsEveryTextOfBothPacks) {
  CTextTable table;
  for (const char* code : {"en", "de"}) {
    const QString path = buildDir() + "/data/lang/" + code + ".xml";
    xml.parse(new CLangFileImporter({&table}), wide(path));
    for (const auto& [id, text] : readLang(path).texts) {
      const std::u16string* found =
          table.find(static_cast<std::uint32_t>(id), fromUtf8(code), u"en");
      ASSERT_NE(found, nullptr) << code << " " << id;
      EXPECT_EQ(*found, wide(text)) << code << " " << id;
    }
  }
  // A language without its own pack falls back to the current one.
  const std::u16string* fallback = table.find(4000, u"fr", u"de");
  ASSERT_NE(fallback, nullptr);
  EXPECT_EQ(*fallback, u"Die Oberfläche konnte nicht geladen werden.");
}

}  // namespace
}  // namespace tavrel::skintest
