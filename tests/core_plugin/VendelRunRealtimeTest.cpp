// vendel-run's real-time mode: key scripts, the LCD as text and PNG, and a whole run.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "CoreFixture.h"
#include "KeyScript.h"
#include "LcdPicture.h"
#include "tavrel/Registry.h"
#include "tavrel/excpt/Exception.h"

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

// Runs vendel-run on the demo ROM with these arguments; its exit status, standard output and
// standard error (kept in the given folder).
struct RunResult {
  int status = -1;
  std::string output;
  std::string errors;
};

RunResult runDemo(const std::string& arguments, const std::filesystem::path& folder) {
  const auto errorFile = folder / "vendel-run.err";
  const std::string command = (buildFolder() / "vendel-run").string() + " --rom '" +
                              demoRom().string() + "' " + arguments + " 2>'" + errorFile.string() +
                              "'";
  RunResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr)
    return result;
  std::array<char, 4096> buffer;
  while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
    result.output.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream errors(errorFile);
  result.errors.assign(std::istreambuf_iterator<char>(errors), {});
  return result;
}

TEST(VendelRunRealtime, ScriptedKeysShowOnTheLcd) {
  TemporarySettings settings;
  const auto [status, output, errors] =
      runDemo("--realtime 1500 --keys '7 ENTER' --lcd-text", settings.folder());
  EXPECT_EQ(status, 0) << errors;
  EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 65) << output;
  EXPECT_NE(output.find("annunciators: "), std::string::npos);
  EXPECT_NE(output.find('#'), std::string::npos);
}

// The speed goes through the core's own throttle page, whose setter stores it.
TEST(VendelRunRealtime, SpeedMovesTheCoresThrottleTrackBar) {
  TemporarySettings settings;
  const auto [status, output, errors] = runDemo("--realtime 300 --speed 1", settings.folder());
  EXPECT_EQ(status, 0) << errors;
  EXPECT_EQ(CRegistry().readNumber32(u"", u"EMUThrottle"), 1u);
}

TEST(VendelRunRealtime, SpeedOutOfRangeOrWithoutRealtimeIsRefused) {
  TemporarySettings settings;
  for (const char* arguments :
       {"--realtime 300 --speed 5", "--realtime 300 --speed fast", "--steps 10 --speed 1"}) {
    const auto [status, output, errors] = runDemo(arguments, settings.folder());
    EXPECT_EQ(status, 2) << arguments;
    EXPECT_NE(errors.find("--speed"), std::string::npos) << errors;
  }
  // Refused before the core was loaded: nothing was stored.
  EXPECT_THROW(CRegistry().readNumber32(u"", u"EMUThrottle"), excpt::SettingReadException);
}

}  // namespace
}  // namespace tavrel::test
