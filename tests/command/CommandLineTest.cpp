// How command lines become handler calls: splitting, "#", argument counts, unknown names.
#include <algorithm>
#include <string>
#include <vector>

#include "CommandPluginFixture.h"

namespace tavrel::test {
namespace {

using TwoTexts = fn::Function<fn::ret<void>, std::u16string, std::u16string>;
using OneText = fn::Function<fn::ret<void>, std::u16string>;
using NoArgument = fn::Function<fn::ret<void>>;

class CommandLineTest : public CommandPluginTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(CommandPluginTest::SetUp());
    ASSERT_TRUE(
        registerCommand(u"boot_nexo_rom", TwoTexts([this](std::u16string rom, std::u16string skin) {
                          calls.push_back({rom, skin});
                        })));
    ASSERT_TRUE(registerCommand(u"load_file",
                                OneText([this](std::u16string path) { calls.push_back({path}); })));
    ASSERT_TRUE(registerCommand(u"savethis", NoArgument([this] { calls.push_back({}); })));
  }

  std::vector<std::vector<std::u16string>> calls;
};

TEST_F(CommandLineTest, SplitsAtSpacesAndTurnsHashIntoBlank) {
  EXPECT_EQ(dispatcher().executeLine(u"boot_nexo_rom data/ROM/t6.rom My#Demo#Skin", 1), nullptr);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], (std::vector<std::u16string>{u"data/ROM/t6.rom", u"My Demo Skin"}));
}

TEST_F(CommandLineTest, TooManyArgumentsReportOneLineAndDoNotCall) {
  std::string errors = lineErrors(u"load_file a b");
  EXPECT_TRUE(calls.empty());
  EXPECT_NE(errors.find("\"load_file\" takes 1 argument(s), not 2"), std::string::npos) << errors;
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1);
}

TEST_F(CommandLineTest, TooFewArgumentsReportOneLineAndDoNotCall) {
  void* result = this;
  std::string errors = lineErrors(u"boot_nexo_rom only-the-rom", &result);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(result, nullptr);
  EXPECT_NE(errors.find("\"boot_nexo_rom\" takes 2 argument(s), not 1"), std::string::npos)
      << errors;
}

TEST_F(CommandLineTest, TrailingSpaceIsAnEmptyArgument) {
  std::string errors = lineErrors(u"savethis ");
  EXPECT_TRUE(calls.empty());
  EXPECT_NE(errors.find("takes 0 argument(s), not 1"), std::string::npos) << errors;

  dispatcher().executeLine(u"load_file ", 1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], (std::vector<std::u16string>{u""}));
}

TEST_F(CommandLineTest, UnknownNameGivesNullAndOneLine) {
  void* result = this;
  std::string errors = lineErrors(u"no_such_command x", &result);
  EXPECT_EQ(result, nullptr);
  EXPECT_TRUE(calls.empty());
  EXPECT_NE(errors.find("unknown command \"no_such_command\""), std::string::npos) << errors;
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1);
}

TEST_F(CommandLineTest, EmptyLineIsRejected) {
  std::string errors = lineErrors(u"");
  EXPECT_TRUE(calls.empty());
  EXPECT_NE(errors.find("no command name"), std::string::npos) << errors;
  lineErrors(u" load_file");
  EXPECT_TRUE(calls.empty());
}

TEST_F(CommandLineTest, NumericParametersAreConvertedOrRefused) {
  std::vector<int> positions;
  ASSERT_TRUE(
      registerCommand(u"show_menu", fn::Function<fn::ret<void>, int, int>([&](int x, int y) {
                        positions = {x, y};
                      })));
  dispatcher().executeLine(u"show_menu 120 -7", 1);
  EXPECT_EQ(positions, (std::vector<int>{120, -7}));

  positions.clear();
  std::string errors = lineErrors(u"show_menu ten 7");
  EXPECT_TRUE(positions.empty());
  EXPECT_NE(errors.find("\"show_menu\" does not fit"), std::string::npos) << errors;
}

}  // namespace
}  // namespace tavrel::test
