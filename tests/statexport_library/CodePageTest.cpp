// The 8-bit text of the "A" interface follows the locale's character set.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "CodePage.h"

namespace tavrel::statexport {
namespace {

class CodePageTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = std::setlocale(LC_ALL, nullptr); }
  void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }
  std::string saved_;
};

TEST_F(CodePageTest, AsciiLocaleReplacesWhatItCannotHold) {
  ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  EXPECT_EQ(toCodePage(u"folio.bin"), "folio.bin");
  EXPECT_EQ(toCodePage(u"caf\u00e9 \U0001F600.csv"), "caf? ?.csv");
  EXPECT_EQ(fromCodePage("caf\xE9"), u"caf\uFFFD");
}

TEST_F(CodePageTest, Utf8LocaleKeepsEveryCharacter) {
  if (std::setlocale(LC_ALL, "C.UTF-8") == nullptr) {
    GTEST_SKIP() << "no C.UTF-8 locale";
  }
  const std::u16string wide = u"caf\u00e9 \U0001F600";
  EXPECT_EQ(toCodePage(wide), "caf\xC3\xA9 \xF0\x9F\x98\x80");
  EXPECT_EQ(fromCodePage(toCodePage(wide)), wide);
  // A lone surrogate has no character to convert.
  EXPECT_EQ(toCodePage(std::u16string(1, u'\xD800') + u"a"), "?a");
  EXPECT_EQ(fromCodePage("\xFF"
                         "a"),
            u"\uFFFDa");
}

}  // namespace
}  // namespace tavrel::statexport
