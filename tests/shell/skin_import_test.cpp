#include <gtest/gtest.h>

#include "skin/SkinFile.h"
#include "skin_fixture.h"
#include "tavrel/excpt/Exception.h"

namespace tavrel::skintest {
namespace {

const char kFullSkin[] = R"(<?xml version="1.0"?>
<tavrel_skin name="Blue Skin" dir="Blue">
  <nexo><rom source="demo.rom"/><lib source="nexocore.dll"/></nexo>
  <floating_viewport>
    <dimensions width="300" height="600"/>
    <origin x="-40" y="15"/>
    <title value="Blue"/>
    <image name="body.bmp"/>
    <region name="shape.rgn"/>
    <lcd>
      <foreground_colour red="10" green="20" blue="30"/>
      <background_colour red="300" green="-4"/>
      <offset x="-3" y="40"/>
      <dimensions width="131" height="64"/>
      <pixel_size value="2"/>
    </lcd>
    <announciator>
      <offset x="12" y="30"/>
      <dimensions width="262" height="8"/>
      <image name="ann.bmp"/>
      <icon index="0"><image_offset x="1" y="2"/><icon_offset x="-3" y="4"/><dimensions width="5" height="6"/></icon>
      <icon index="5"><icon_offset x="250" y="0"/></icon>
      <icon index="6"><icon_offset x="99" y="99"/></icon>
      <icon index="-1"><dimensions width="99" height="99"/></icon>
      <icon><dimensions width="7" height="8"/></icon>
    </announciator>
  </floating_viewport>
  <fullscreen_viewport>
    <background_colour red="1" green="2" blue="999"/>
    <title value="Blue full"/>
    <lcd><dimensions width="131" height="64"/><pixel_size/></lcd>
  </fullscreen_viewport>
  <key_name_index><key id="KEY_ON" label="ON"/><key label="orphan"/></key_name_index>
  <emu_keys><emu_key_code name="KEY_ON"/><pixel_region><origin x="1" y="1"/><dimensions width="4" height="4"/><function name="hi"/></pixel_region></emu_keys>
  <msg_map><msg id="4000"/></msg_map>
  <info><about/></info>
  <menu_bar><item/><item/></menu_bar>
  <unknown><nexo><rom source="smuggled.rom"/></nexo></unknown>
</tavrel_skin>
)";

class SkinImportTest : public ShellPluginsTest {
 protected:
  void SetUp() override {
    ShellPluginsTest::SetUp();
    recordCommand(u"key_down");
    recordCommand(u"key_up");
    for (const char* picture : {"body.bmp", "shape.rgn", "ann.bmp"}) {
      write(std::string("data/skins/Blue/") + picture, "picture");
    }
  }

  void import(const std::string& folder) {
    SkinImportTarget target{skin, keyMap, commands.getCache(), {}, {}};
    target.sections.messages = [this] { return new ElementRecorder(messages); };
    target.sections.info = [this] { return new ElementRecorder(info); };
    target.sections.menuBar = [this](bool notPopup) {
      menuNotPopup = notPopup;
      return new ElementRecorder(menu);
    };
    importSkin(xml, u16(folder), std::move(target));
  }

  SkinDescription skin;
  KeyMap keyMap;
  std::vector<std::u16string> messages, info, menu;
  bool menuNotPopup = true;
};

TEST_F(SkinImportTest, ReadsEveryPartOfAFullSkin) {
  write("data/skins/Blue/skin.xml", kFullSkin);
  import("Blue");
  EXPECT_EQ(skin.romPath, u"data/ROM/demo.rom");
  EXPECT_EQ(skin.coreLibrary, u"nexocore.dll");

  const gui::SkinViewDescription& window = skin.floating;
  EXPECT_EQ(window.title, u"Blue");
  EXPECT_EQ(window.width, 300);
  EXPECT_EQ(window.height, 600);
  EXPECT_EQ(window.originX, -40);
  EXPECT_EQ(window.originY, 15);
  EXPECT_EQ(window.style, u"POPUP");
  EXPECT_EQ(window.regionFile, u"data/skins/Blue/shape.rgn");
  EXPECT_EQ(window.overlay.bitmap, u"data/skins/Blue/body.bmp");
  EXPECT_EQ(window.overlay.width, 300);
  EXPECT_EQ(window.overlay.height, 600);
  EXPECT_EQ(window.flag1, 1);
  EXPECT_EQ(window.flag2, 1);
  EXPECT_EQ(keyMap.hitMap.width(), 300);

  EXPECT_EQ(window.lcd.foregroundGreen, 20);
  EXPECT_EQ(window.lcd.backgroundRed, 255);  // clamped
  EXPECT_EQ(window.lcd.backgroundGreen, 0);  // clamped
  EXPECT_EQ(window.lcd.backgroundBlue, 0);   // missing
  EXPECT_EQ(window.lcd.offsetX, -3);
  EXPECT_EQ(window.lcd.width, 131);
  EXPECT_EQ(window.lcd.pixelSize, 2);

  const gui::AnnounciatorSettings& strip = window.announciator;
  EXPECT_EQ(strip.image, u"data/skins/Blue/ann.bmp");
  EXPECT_EQ(strip.offsetX, 12);
  EXPECT_EQ(strip.height, 8);
  EXPECT_EQ(strip.imageOffsets[0], (gui::IconPoint{1, 2}));
  EXPECT_EQ(strip.iconOffsets[0], (gui::IconPoint{-3, 4}));
  EXPECT_EQ(strip.iconSizes[0], (gui::IconSize{7, 8}));  // a missing index counts as 0
  EXPECT_EQ(strip.iconOffsets[5], (gui::IconPoint{250, 0}));
  for (int icon = 1; icon < 5; ++icon) {
    EXPECT_EQ(strip.iconOffsets[icon], (gui::IconPoint{})) << icon;
    EXPECT_EQ(strip.iconSizes[icon], (gui::IconSize{})) << icon;
  }

  const gui::SkinViewDescription& full = skin.fullscreen;
  EXPECT_EQ(full.title, u"Blue full");
  EXPECT_EQ(full.style, u"FULLSCREEN");
  EXPECT_EQ(full.flag1, 0);
  EXPECT_EQ(full.backgroundBlue, 255);
  EXPECT_EQ(full.lcd.pixelSize, 1);  // "pixel_size" without a value changes nothing

  EXPECT_EQ(skin.keyNameIndex, (KeyNameIndex{{u"KEY_ON", u"ON"}}));
  EXPECT_NE(keyMap.regions.emulatorPressAt(2, 2), nullptr);
  EXPECT_EQ(messages, (std::vector<std::u16string>{u"msg"}));
  EXPECT_EQ(info, (std::vector<std::u16string>{u"about"}));
  EXPECT_EQ(menu.size(), 2u);
  EXPECT_FALSE(menuNotPopup);
}

TEST_F(SkinImportTest, MissingNumbersCountAsZeroAndHugeOnesDoNotOverflow) {
  write("data/skins/Blue/skin.xml",
        "<tavrel_skin><floating_viewport><dimensions width=\"99999999999\" height=\"9000\"/>"
        "<origin x=\"-2147483648\" y=\"12abc\"/></floating_viewport></tavrel_skin>");
  skin.floating.width = 7;
  ::testing::internal::CaptureStderr();
  import("Blue");
  // Too tall for a hit map: the window keeps its size, its keys mark no pixels.
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("no key pixels"), std::string::npos);
  EXPECT_EQ(keyMap.hitMap.height(), 0);
  EXPECT_EQ(skin.floating.width, 0);  // beyond 32 bits counts as missing
  EXPECT_EQ(skin.floating.height, 9000);
  EXPECT_EQ(skin.floating.originX, -2147483648);
  EXPECT_EQ(skin.floating.originY, 0);
  EXPECT_EQ(skin.floating.style, u"WINDOW");
}

TEST_F(SkinImportTest, APictureInTheSkinFolderWinsOverTheSharedOne) {
  write("data/skins/body.bmp", "shared");
  write("data/skins/wide.bmp", "shared");
  write("data/skins/Blue/skin.xml",
        "<tavrel_skin><floating_viewport><image name=\"body.bmp\"/>"
        "<region name=\"wide.bmp\"/></floating_viewport></tavrel_skin>");
  import("Blue");
  EXPECT_EQ(skin.floating.overlay.bitmap, u"data/skins/Blue/body.bmp");
  EXPECT_EQ(skin.floating.regionFile, u"data/skins/wide.bmp");
}

TEST_F(SkinImportTest, AMissingPictureStopsTheLoadWith503) {
  write("data/skins/Blue/skin.xml",
        "<tavrel_skin><floating_viewport><image name=\"gone.bmp\"/></floating_viewport>"
        "</tavrel_skin>");
  EXPECT_THROW(import("Blue"), excpt::NotInSearchPathException);
}

TEST_F(SkinImportTest, APictureNameCannotClimbOutOfTheSkinFolders) {
  write("secret.bmp", "outside");
  write("data/skins/Blue/skin.xml",
        "<tavrel_skin><floating_viewport><image name=\"../../secret.bmp\"/>"
        "</floating_viewport></tavrel_skin>");
  EXPECT_THROW(import("Blue"), excpt::NotInSearchPathException);
}

TEST_F(SkinImportTest, AFolderWithoutSkinXmlIsNotASkin) {
  write("data/skins/Blue/Skin.xml", kFullSkin);
  EXPECT_THROW(import("Blue"), excpt::NotInSearchPathException);
  EXPECT_THROW(import("../Blue"), excpt::NotInSearchPathException);
}

TEST_F(SkinImportTest, AnotherRootElementIsNotReadAsASkin) {
  write("data/skins/Blue/skin.xml", "<other_skin><nexo><rom source=\"x\"/></nexo></other_skin>");
  import("Blue");
  EXPECT_EQ(skin.romPath, u"");
}

TEST_F(SkinImportTest, NothingOfTheSkinReadBeforeSurvivesALoad) {
  write("data/skins/Blue/skin.xml", kFullSkin);
  import("Blue");
  write("data/skins/Red/skin.xml", "<tavrel_skin name=\"Red\"/>");
  import("Red");
  EXPECT_EQ(skin.floating.style, u"WINDOW");
  EXPECT_EQ(skin.floating.regionFile, u"");
  EXPECT_TRUE(skin.keyNameIndex.empty());
  EXPECT_EQ(skin.romPath, u"");  // so the boot sees that this skin names no ROM
  EXPECT_EQ(skin.floating.lcd.pixelSize, 1);
  EXPECT_EQ(keyMap.regions.emulatorPressAt(2, 2), nullptr);
  EXPECT_FALSE(keyMap.hitMap.isMarked(2, 2));
}

TEST_F(SkinImportTest, ABrokenFileRaisesTheParseFault) {
  write("data/skins/Blue/skin.xml", "<tavrel_skin><nexo>");
  EXPECT_THROW(import("Blue"), xml::XMLParseException);
}

}  // namespace
}  // namespace tavrel::skintest
