// The launch list entry and the warnings for the maker's libraries, which this platform
// does not have.
#include "ShellAppFixture.h"
#include "app/CommonCommands.h"
#include "app/LaunchList.h"

namespace tavrel::apptest {
namespace {

class CommonCommandsTest : public ShellAppTest {
 protected:
  void SetUp() override {
    ShellAppTest::SetUp();
    newShell().lang().loadStartLanguage();
  }
};

TEST_F(CommonCommandsTest, TheProgramIsAddedToTheLaunchListInTheSettings) {
  CCommonCommands common(shell->context(), u"/opt/tavrel folder/tavrel");
  CRegistry store(calcManagerStoreFile(registry->userFile()), u"");
  EXPECT_EQ(store.readText(u"Calcs\\tavrel", u"Title"), u"tavrel");
  EXPECT_EQ(store.readText(u"Calcs\\tavrel", u"Target"), u"/opt/tavrel folder/tavrel");
  EXPECT_EQ(store.readNumber32(u"Calcs\\tavrel", u"IconIndex"), 0u);
  EXPECT_TRUE(store.keyExists(u"Calcs\\tavrel"));
  // Only "setDefaultCalc" with the manager's library makes it the default.
  EXPECT_EQ(store.readText(u"", u"Target"), u"");
  EXPECT_TRUE(messages().empty());
}

TEST_F(CommonCommandsTest, MissingLibrariesOnlyWarn) {
  CCommonCommands common(shell->context(), u"/opt/tavrel");
  for (const char16_t* line : {u"check_for_update", u"calcManager", u"setDefaultCalc"}) {
    runLine(commands, line);
  }
  const std::vector<gui::HostUiCall> calls = hostUi.calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].message.text, u"The update check is not installed.");
  EXPECT_EQ(calls[0].message.title, u"Check for Updates");
  EXPECT_EQ(calls[1].message.text, u"The calculator manager is not installed.");
  EXPECT_EQ(calls[1].message.title, u"Calculator Manager");
  EXPECT_EQ(calls[2].message.text, calls[1].message.text);
  for (const gui::HostUiCall& call : calls) {
    EXPECT_EQ(call.message.icon, gui::MessageIcon::Warning);
    EXPECT_TRUE(call.message.topmost);
  }
}

TEST(LaunchKeyNameTest, DropsBlanksBackslashesLineFeedsAndWideCharacters) {
  EXPECT_EQ(launchKeyName(u"ZR Calc\\u\nl\u00e9x"), u"ZRCalculx");
}

}  // namespace
}  // namespace tavrel::apptest
