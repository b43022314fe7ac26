// The object-transfer commands through the core plug-in as the shell drives it, with the demo
// firmware running: the ON key is pressed through the shell's key commands (stood in for
// here), failures reach the caller with their codes, and objects survive file round trips.
#include <fstream>
#include <iterator>
#include <mutex>

#include "CoreFixture.h"
#include "tavrel/ScriptedHostUi.h"
#include "tavrel/excpt/Exception.h"

namespace tavrel::test {
namespace {

constexpr std::int32_t kOnKeyPosition = 458755;

class PluginTransfer : public CoreFixture {
 protected:
  void SetUp() override {
    CoreFixture::SetUp();
    ui_.setEcho(false);
    previous_ = gui::setHostUi(&ui_);
    addKeyCommand(u"key_down", 0);
    addKeyCommand(u"key_up", 1);
    importCore();
    boot(u"Demo");
    // Idle once: boot has built the stack and the first screen is complete.
    ASSERT_TRUE(watch.waitUntil([&] { return session.shutdnoffCount() >= 1; }));
  }
  void TearDown() override {
    CoreFixture::TearDown();
    gui::setHostUi(previous_);
  }

  // The shell's key command: recorded, and the ON key posted to the core.
  void addKeyCommand(const std::u16string& name, std::uint32_t type) {
    fn::Function<fn::ret<void>, std::u16string> handler([this, name, type](std::u16string key) {
      {
        std::lock_guard guard(keysMutex_);
        keyLines_.push_back(name + u" " + key);
      }
      if (key == u"KEY_ON")
        session.postKey(type, kOnKeyPosition);
    });
    ICommandBase* command =
        session.commands().createCommand(name, handler.detach(), nullptr, fn::ParameterList{});
    session.commands().getRegistry()->add(command);
  }
  std::vector<std::u16string> keyLines() {
    std::lock_guard guard(keysMutex_);
    return keyLines_;
  }
  std::filesystem::path file(const std::string& name) { return settings.folder() / name; }
  std::u16string path(const std::string& name) { return fromUtf8(file(name).string()); }
  std::string contents(const std::string& name) {
    std::ifstream in(file(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::u16string clipboardAfter(const std::u16string& line) {
    session.execute(line);
    return ui_.clipboardText().value_or(u"(none)");
  }

  gui::CScriptedHostUi ui_;
  gui::IHostUi* previous_ = nullptr;
  std::mutex keysMutex_;
  std::vector<std::u16string> keyLines_;
};

TEST_F(PluginTransfer, TextFileIsLoadedThenOnIsPressedAndReleased) {
  std::ofstream(file("note.txt"), std::ios::binary) << "hello world";
  session.execute(u"load_file " + path("note.txt"));
  EXPECT_EQ(keyLines(), (std::vector<std::u16string>{u"key_down KEY_ON", u"key_up KEY_ON"}));
  EXPECT_EQ(clipboardAfter(u"store_string"), u"hello world");
}

TEST_F(PluginTransfer, ObjectSurvivesStoreAndLoad) {
  ui_.setClipboard(u"round trip");
  session.execute(u"load_string");
  ui_.queuePath(path("trip"));
  session.execute(u"store_object");
  ASSERT_EQ(contents("trip.vobj").substr(0, 8), "ZRZR58-V");

  ui_.setClipboard(u"other");
  session.execute(u"load_string");
  ui_.queuePath(path("trip.vobj"));
  session.execute(u"load_object");
  EXPECT_EQ(clipboardAfter(u"store_string"), u"round trip");
  ui_.queuePath(path("again.vobj"));
  session.execute(u"store_object");
  EXPECT_EQ(contents("again.vobj"), contents("trip.vobj"));
  EXPECT_EQ(keyLines().size(), 6u);  // three loads, each pressing and releasing ON
}

TEST_F(PluginTransfer, RefusedLoadReachesTheCallerAndPressesNothing) {
  std::ofstream(file("bad.vobj"), std::ios::binary) << "ZRZR58-V\x01\x02";
  try {
    session.execute(u"load_file " + path("bad.vobj"));
    ADD_FAILURE() << "the bad object was loaded";
  } catch (const excpt::IException& failure) {
    EXPECT_EQ(failure.code(), 5005);
    failure.report();
  }
  const std::vector<gui::HostUiCall> calls = ui_.calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].message.title, u"ZR Calvane Error: Load Object");
  EXPECT_EQ(calls[0].message.text, u"Not a valid emulator object.");
  EXPECT_TRUE(keyLines().empty());
}

TEST_F(PluginTransfer, StateFileGoesToTheStateLoaderWithoutOn) {
  session.execute(u"nexo_save_state " + path("now.vstate"));
  session.execute(u"load_file " + path("now.vstate"));
  EXPECT_TRUE(ui_.calls().empty());
  EXPECT_TRUE(keyLines().empty());
  // The calculator runs on after the state load.
  const unsigned before = watch.changes();
  EXPECT_TRUE(watch.waitUntil([&] { return watch.changes() > before; }));
}

}  // namespace
}  // namespace tavrel::test
