#include <gtest/gtest.h>

#include "tavrel/ScriptedHostUi.h"
#include "tavrel/excpt/ExceptionHub.h"

using namespace tavrel::excpt;

namespace {

template <class Caught, class Thrown>
bool catches(const Thrown& thrown) {
  try {
    thrown.raise();
  } catch (const Caught&) {
    return true;
  } catch (...) {
  }
  return false;
}

}  // namespace

TEST(Exception, BaseCodesCatchTheirRefinements) {
  EXPECT_TRUE(catches<SkinException>(NoSkinInstalledException()));
  EXPECT_TRUE(catches<SkinException>(SkinNotInstalledException(u"Blue")));
  EXPECT_TRUE(catches<SettingsException>(SettingReadException()));
  EXPECT_TRUE(catches<SettingsException>(SettingWriteException()));
  EXPECT_TRUE(catches<IException>(ProcessMutexException()));

  EXPECT_FALSE(catches<SettingsException>(NoSkinInstalledException()));
  EXPECT_FALSE(catches<SettingReadException>(SettingWriteException()));
  EXPECT_FALSE(catches<NoSkinInstalledException>(SkinException()));
}

TEST(Exception, RaisingAgainKeepsCodeAndKind) {
  try {
    try {
      SkinNotInstalledException(u"Blue").raise();
    } catch (const IException& first) {
      EXPECT_EQ(first.code(), 4002);
      first.raise();
    }
  } catch (const SkinNotInstalledException& again) {
    EXPECT_EQ(again.code(), 4002);
    EXPECT_EQ(again.handler().message, u"Blue");
    return;
  }
  FAIL() << "the raised copy lost its kind";
}

TEST(Exception, CodesOfTheTable) {
  EXPECT_EQ(SkinIncompleteException().code(), 0);
  EXPECT_EQ(MissingImportException().code(), 1);
  EXPECT_EQ(LibraryLoadException(u"x").code(), 4);
  EXPECT_EQ(WildcardSearchException().code(), 502);
  EXPECT_EQ(ObjectLoadException5006(u"m").code(), 5006);
  EXPECT_EQ(ObjectStoreException5010(u"m").code(), 5010);
  EXPECT_EQ(StateFileWriteException().code(), 5012);
  EXPECT_EQ(NoTimerServiceException().code(), 7051);
  EXPECT_EQ(ProcessMutexException().code(), 9999);
}

class ReportTest : public testing::Test {
 protected:
  void SetUp() override {
    ui_.setEcho(false);
    previous_ = tavrel::gui::setHostUi(&ui_);
  }
  void TearDown() override { tavrel::gui::setHostUi(previous_); }

  tavrel::gui::CScriptedHostUi ui_;
  tavrel::gui::IHostUi* previous_ = nullptr;
};

TEST_F(ReportTest, HandlersShowTheirBoxes) {
  LibraryLoadException(u"components/gui.so").report();
  ObjectLoadException5002(u"Cannot load an empty file.").report();
  ObjectStoreException5008(u"No valid object to store from top of NQS stack.").report();
  SettingReadException().report();  // empty handler: nothing

  auto calls = ui_.calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].message.text, u"Unable to open library components/gui.so.");
  EXPECT_EQ(calls[0].message.title, u"ZR Calvane Error");
  EXPECT_EQ(calls[0].message.icon, tavrel::gui::MessageIcon::Error);
  EXPECT_EQ(calls[1].message.title, u"ZR Calvane Error: Load Object");
  EXPECT_EQ(calls[1].message.text, u"Cannot load an empty file.");
  EXPECT_EQ(calls[2].message.title, u"ZR Calvane Error: Store Object");
}

TEST_F(ReportTest, ErrorMessageBecomesTheNextBootLine) {
  takeBootErrorLine();
  SkinNotInstalledException(u"Skin \"Blue\" is not installed.").report();
  EXPECT_TRUE(ui_.calls().empty());
  EXPECT_EQ(takeBootErrorLine(), u"Skin \"Blue\" is not installed.");
  EXPECT_EQ(takeBootErrorLine(), u"");
}

TEST_F(ReportTest, HubReportsWhatItGuards) {
  CExceptionHub hub;
  EXPECT_EQ(hub.lastCode(), -1);
  EXPECT_TRUE(hub.guard([] {}));
  EXPECT_FALSE(hub.guard([] { throw LibraryLoadException(u"a.so"); }));
  EXPECT_FALSE(hub.guard([] { throw SettingWriteException(); }));
  EXPECT_EQ(hub.lastCode(), 8002);
  EXPECT_EQ(hub.reportCount(), 2u);
  ASSERT_EQ(ui_.calls().size(), 1u);
  EXPECT_EQ(ui_.calls()[0].message.text, u"Unable to open library a.so.");
}
