// The state commands through the core plug-in as the shell drives it: the real emulation task
// pauses and resumes around the file, and the loaded machine carries on.
#include <algorithm>

#include "CoreFixture.h"
#include "tavrel/ScriptedHostUi.h"

namespace tavrel::test {
namespace {

class PluginState : public CoreFixture {
 protected:
  void SetUp() override {
    CoreFixture::SetUp();
    ui_.setEcho(false);
    previous_ = gui::setHostUi(&ui_);
    importCore();
    boot(u"Demo");
    ASSERT_TRUE(watch.waitUntil([&] {
      const auto image = display();
      return std::any_of(image.begin(), image.end(), [](std::uint8_t b) { return b != 0; });
    }));
  }
  void TearDown() override {
    CoreFixture::TearDown();
    gui::setHostUi(previous_);
  }
  std::int64_t boolResult(const std::u16string& line) {
    auto* result = static_cast<std::int64_t*>(session.execute(line));
    return result != nullptr ? *result : -1;
  }
  std::u16string path(const std::string& name) {
    return fromUtf8((settings.folder() / name).string());
  }

  gui::CScriptedHostUi ui_;
  gui::IHostUi* previous_ = nullptr;
};

TEST_F(PluginState, SaveAndLoadWhileTheCalculatorRuns) {
  ASSERT_EQ(boolResult(u"nexo_save_state " + path("run.vstate")), 1);
  EXPECT_EQ(std::filesystem::file_size(settings.folder() / "run.vstate"), 1318914u);
  ASSERT_EQ(boolResult(u"nexo_load_state " + path("run.vstate")), 1);
  EXPECT_TRUE(ui_.calls().empty());
  // The interpreter was resumed: the display keeps being refreshed.
  const unsigned before = watch.changes();
  EXPECT_TRUE(watch.waitUntil([&] { return watch.changes() > before; }));
}

TEST_F(PluginState, DamagedFileIsRefusedAndTheCalculatorRunsOn) {
  ASSERT_EQ(boolResult(u"nexo_save_state " + path("cut.vstate")), 1);
  std::filesystem::resize_file(settings.folder() / "cut.vstate", 300000);
  EXPECT_EQ(boolResult(u"nexo_load_state " + path("cut.vstate")), 0);
  const std::vector<gui::HostUiCall> calls = ui_.calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].message.text, u"Invalid state file");
  const unsigned before = watch.changes();
  EXPECT_TRUE(watch.waitUntil([&] { return watch.changes() > before; }));
}

}  // namespace
}  // namespace tavrel::test
