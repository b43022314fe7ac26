#include <gtest/gtest.h>

#include "tavrel/ScriptedHostUi.h"

using namespace tavrel::gui;

class HostUiTest : public testing::Test {
 protected:
  void SetUp() override {
    ui_.setEcho(false);
    previous_ = setHostUi(&ui_);
  }
  void TearDown() override { setHostUi(previous_); }

  CScriptedHostUi ui_;
  IHostUi* previous_ = nullptr;
};

TEST_F(HostUiTest, MessageBoxesTakeScriptedAnswersThenTheFirstButton) {
  ui_.queueAnswer(MessageAnswer::No);
  EXPECT_EQ(showMessage(u"Save?", u"Title", MessageIcon::Question, MessageButtons::YesNo, true),
            MessageAnswer::No);
  EXPECT_EQ(showMessage(u"Again?", u"Title", MessageIcon::Question, MessageButtons::YesNo),
            MessageAnswer::Yes);
  EXPECT_EQ(showMessage(u"Retry?", u"T", MessageIcon::Warning, MessageButtons::RetryCancel),
            MessageAnswer::Retry);

  auto calls = ui_.calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].kind, HostUiCall::Kind::Message);
  EXPECT_EQ(calls[0].message.text, u"Save?");
  EXPECT_TRUE(calls[0].message.topmost);
  EXPECT_FALSE(calls[1].message.topmost);
}

TEST_F(HostUiTest, FileDialogsTakeScriptedPathsOrCancel) {
  ui_.queuePath(u"/tmp/state.vst");
  ui_.queuePath(std::nullopt);
  FileDialogRequest request{u"Store Object", u"ZR Calvane Object Files (*.vobj;*.bin)", u"vobj",
                            kOverwritePrompt, u"stack"};
  EXPECT_EQ(hostUi().saveFileName(request), u"/tmp/state.vst");
  EXPECT_EQ(hostUi().openFileName(request), std::nullopt);
  EXPECT_EQ(hostUi().openFileName(request), std::nullopt);  // nothing scripted: cancelled

  auto calls = ui_.calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].kind, HostUiCall::Kind::SaveFile);
  EXPECT_EQ(calls[0].dialog.defaultExtension, u"vobj");
  EXPECT_EQ(calls[0].dialog.flags, kOverwritePrompt);
  EXPECT_EQ(calls[0].dialog.initialName, u"stack");
  EXPECT_EQ(calls[1].kind, HostUiCall::Kind::OpenFile);
}

TEST_F(HostUiTest, ClipboardKeepsTextInMemory) {
  EXPECT_EQ(hostUi().clipboardText(), std::nullopt);
  EXPECT_TRUE(hostUi().setClipboardText(u"\"HELLO\""));
  EXPECT_EQ(hostUi().clipboardText(), u"\"HELLO\"");
  auto calls = ui_.calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[1].kind, HostUiCall::Kind::WriteClipboard);
  EXPECT_EQ(calls[1].text, u"\"HELLO\"");
}

TEST_F(HostUiTest, ReplacingGivesBackThePreviousImplementation) {
  CScriptedHostUi other;
  other.setEcho(false);
  EXPECT_EQ(setHostUi(&other), &ui_);
  showMessage(u"to other", u"T");
  EXPECT_EQ(setHostUi(nullptr), &other);
  EXPECT_EQ(&hostUi(), &headlessHostUi());
  EXPECT_EQ(other.calls().size(), 1u);
  EXPECT_TRUE(ui_.calls().empty());
}

TEST(HeadlessHostUi, EchoesMessagesToStandardError) {
  testing::internal::CaptureStderr();
  headlessHostUi().messageBox({u"Could not create file.", u"Save Error"});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Save Error: Could not create file.\n");
  headlessHostUi().reset();
}
