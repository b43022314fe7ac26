// What callers get back: line results by kind, their per-thread slot, and the success of
// executing command objects.
#include <algorithm>
#include <cstdint>
#include <future>
#include <string>
#include <thread>

#include "CommandPluginFixture.h"

namespace tavrel::test {
namespace {

using PathToBool = fn::Function<fn::ret<bool>, std::u16string>;
using Echo = fn::Function<fn::ret<std::u16string>, std::u16string>;

struct Port {
  int number = 0;
};

class CommandResultTest : public CommandPluginTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(CommandPluginTest::SetUp());
    ASSERT_TRUE(registerCommand(u"echo", Echo([](std::u16string text) { return text; })));
    ASSERT_TRUE(registerCommand(u"nexo_load_state", PathToBool([this](std::u16string path) {
                                  loadedPaths.push_back(path);
                                  return path == u"good.vstate";
                                })));
  }

  std::vector<std::u16string> loadedPaths;
};

TEST_F(CommandResultTest, PointerResultIsHandedOverAsItIs) {
  Port serialPort{3};
  ASSERT_TRUE(registerCommand(
      u"getIOPortForVPort",
      fn::Function<fn::ret<Port*>, std::u16string>(
          [&](std::u16string name) -> Port* { return name == u"COM1" ? &serialPort : nullptr; })));
  EXPECT_EQ(dispatcher().executeLine(u"getIOPortForVPort COM1", 0), &serialPort);
  EXPECT_EQ(dispatcher().executeLine(u"getIOPortForVPort IR", 0), nullptr);
}

TEST_F(CommandResultTest, TextAndBoolResultsArriveThroughTheSlot) {
  auto* text = static_cast<std::u16string*>(dispatcher().executeLine(u"echo ZR#T6", 1));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(*text, u"ZR T6");

  auto* loaded = static_cast<std::int64_t*>(dispatcher().executeLine(u"nexo_load_state bad", 1));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(*loaded, 0);
  loaded = static_cast<std::int64_t*>(dispatcher().executeLine(u"nexo_load_state good.vstate", 1));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(*loaded, 1);
}

TEST_F(CommandResultTest, EachThreadKeepsItsOwnResult) {
  std::promise<void> workerHasResult;
  std::promise<void> mainHasRun;
  std::u16string seenByWorker;
  std::thread worker([&] {
    auto* mine = static_cast<std::u16string*>(dispatcher().executeLine(u"echo worker", 0));
    workerHasResult.set_value();
    mainHasRun.get_future().wait();
    seenByWorker = *mine;
  });
  workerHasResult.get_future().wait();
  auto* main = static_cast<std::u16string*>(dispatcher().executeLine(u"echo main", 1));
  mainHasRun.set_value();
  worker.join();
  EXPECT_EQ(seenByWorker, u"worker");
  EXPECT_EQ(*main, u"main");
}

TEST_F(CommandResultTest, CommandObjectReportsTheHandlersBool) {
  ICommandBase* command = registry().get(u"nexo_load_state");
  ASSERT_NE(command, nullptr);
  command->setParameters(fn::ParameterList{u"missing.vstate"});
  EXPECT_FALSE(dispatcher().executeCommand(command, 1));
  command->setParameters(fn::ParameterList{u"good.vstate"});
  EXPECT_TRUE(dispatcher().executeCommand(command, 1));
  EXPECT_EQ(loadedPaths, (std::vector<std::u16string>{u"missing.vstate", u"good.vstate"}));
}

TEST_F(CommandResultTest, CommandObjectWithoutParametersIsNotRun) {
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(dispatcher().executeCommand(registry().get(u"nexo_load_state"), 1));
  EXPECT_FALSE(dispatcher().executeCommand(nullptr, 1));
  std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(loadedPaths.empty());
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 2) << errors;
}

TEST_F(CommandResultTest, UnregisteredCommandObjectRunsWithItsBoundParameters) {
  std::u16string seen;
  fn::Function<fn::ret<void>, std::u16string> handler([&](std::u16string value) { seen = value; });
  ICommandBase* command =
      commands.createCommand(u"scratch", handler.detach(), nullptr, fn::ParameterList{u"bound"});
  ASSERT_NE(command, nullptr);
  EXPECT_TRUE(dispatcher().executeCommand(command, 1));
  EXPECT_EQ(seen, u"bound");
  EXPECT_EQ(registry().get(u"scratch"), nullptr);
  command->release();
}

}  // namespace
}  // namespace tavrel::test
