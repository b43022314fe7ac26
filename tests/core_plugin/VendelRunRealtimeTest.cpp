// vendel-run's real-time mode: key scripts, the LCD as text and PNG, and a whole run.
#include <array>
#include <cstdio>

#include "CoreFixture.h"
#include "KeyScript.h"
#include "LcdPicture.h"

namespace tavrel::test {
namespace {

const std::map<std::string, std::int32_t> kKeys = {
    {"KEY_1", 0x60002}, {"KEY_ENTER", 0x70007}, {"KEY_PLUS", 0x60007}};

TEST(KeyScript, NamesCharactersPositionsAndWaits) {
  std::string error;
  const auto steps =
      vendelrun::parseKeyScript("1 KEY_ENTER + @0x10002 @65536 wait:250", kKeys, error);
  ASSERT_TRUE(steps) << error;
  ASSERT_EQ(steps->size(), 6u);
  EXPECT_EQ((*steps)[0].position, 0x60002);
  EXPECT_EQ((*steps)[1].position, 0x70007);
  EXPECT_EQ((*steps)[2].position, 0x60007);
  EXPECT_EQ((*steps)[3].position, 0x10002);
  EXPECT_EQ((*steps)[4].position, 65536);
  EXPECT_EQ((*steps)[5].kind, vendelrun::KeyStep::Kind::Wait);
  EXPECT_EQ((*steps)[5].milliseconds, 250u);
}

TEST(KeyScript, BadStepsAreNamed) {
  for (const char* script : {"NOPE", "wait:", "wait:1s", "@", "@0xZZ"}) {
    std::string error;
    EXPECT_FALSE(vendelrun::parseKeyScript(script, kKeys, error)) << script;
    EXPECT_NE(error.find("key script"), std::string::npos) << script;
  }
}

TEST(LcdPicture, PixelsAndAnnunciatorsAsText) {
  std::array<std::uint8_t, vendelrun::kLcdBlockBytes> block{};
  block[0] = 0x01;             // pixel (0, 0)
  block[20 * 63 + 16] = 0x04;  // pixel (130, 63)
  block[20 * 2 + 16] = 0x08;   // annunciator 2
  const std::string art = vendelrun::lcdTextArt(block);
  EXPECT_EQ(art.substr(0, 2), "#.");
  const std::size_t lastRow = 63 * 132;
  EXPECT_EQ(art[lastRow + 130], '#');
  EXPECT_EQ(art[lastRow + 129], '.');
  EXPECT_NE(art.find("annunciators: 0 0 1 0 0 0\n"), std::string::npos);
}

TEST(LcdPicture, PngIsWrittenInPlace) {
  TemporarySettings folder;
  std::array<std::uint8_t, vendelrun::kLcdBlockBytes> block{};
  const auto file = folder.folder() / "lcd.png";
  std::string error;
  ASSERT_TRUE(vendelrun::writeLcdPng(block, file, error)) << error;
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_FALSE(std::filesystem::exists(file.string() + ".tmp"));
  EXPECT_GT(std::filesystem::file_size(file), 64u * 18u);  // stored, not compressed
}

TEST(VendelRunRealtime, ScriptedKeysShowOnTheLcd) {
  TemporarySettings settings;
  const std::string command = (buildFolder() / "vendel-run").string() + " --rom '" +
                              demoRom().string() +
                              "' --realtime 1500 --keys '7 ENTER' --lcd-text 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  std::array<char, 4096> buffer;
  while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
    output.append(buffer.data(), n);
  EXPECT_EQ(::pclose(pipe), 0) << output;
  EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 65) << output;
  EXPECT_NE(output.find("annunciators: "), std::string::npos);
  EXPECT_NE(output.find('#'), std::string::npos);
}

}  // namespace
}  // namespace tavrel::test
