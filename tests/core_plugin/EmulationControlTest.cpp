// Pause, resume and stop as commands and state files use them, with the core's emulation
// linked in directly (the plug-in keeps these functions to itself); the key-position table.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>

#include "CoreFixture.h"
#include "Keyboard.h"
#include "emulation/EmulationControl.h"
#include "emulation/EmulationState.h"
#include "emulation/KeyPositions.h"
#include "os/MessageQueue.h"
#include "os/TaskRun.h"
#include "plugin/CoreCommands.h"
#include "plugin/InterfaceRecord.h"
#include "tavrel/command/PluginEntry.h"

// The core's entry points, linked in from the services library.
TAVREL_PLUGIN_EXPORT void import(tavrel::excpt::CExceptionHub* hub,
                                 tavrel::CommandInterface* commands);
TAVREL_PLUGIN_EXPORT int closeLibrary();

namespace tavrel::test {
namespace {

// Core tasks of that name whose body still runs.
int liveTasks(const std::u16string& name) {
  int count = 0;
  for (os::tag_ThreadInfo& slot : os::taskTable()) {
    if (slot.thread.joinable() && slot.name == name && slot.run && !slot.run->hasEnded())
      ++count;
  }
  return count;
}

int liveTasks() {
  int count = 0;
  for (os::tag_ThreadInfo& slot : os::taskTable()) {
    if (slot.thread.joinable() && slot.run && !slot.run->hasEnded())
      ++count;
  }
  return count;
}

class EmulationControl : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        commandService.load(fromUtf8((buildFolder() / "components" / "command.so").string())));
    commandService.resolveFunction<ImportEntry*>(kImportExport)(&hub, &commands);
    import(&hub, &commands);
    hook = new fn::CallableFunction<std::function<void()>, void>([this] { watch.changed(); });
    core::interfaceRecord().displayChanged = hook;
    core::bootNexoRom(fromUtf8(demoRom().string()), u"Demo");
  }
  void TearDown() override {
    closeLibrary();
    core::interfaceRecord().displayChanged = nullptr;
    delete hook;
    commandService.resolveFunction<CloseLibraryEntry*>(kCloseLibraryExport)();
    commandService.unload();
  }

  TemporarySettings settings;
  excpt::CExceptionHub hub;
  CommandInterface commands;
  CDynamicLibrary commandService;
  DisplayWatch watch;
  fn::IFunctionBase* hook = nullptr;
};

TEST_F(EmulationControl, PauseTwiceThenResumeTwiceRunsOneInterpreter) {
  ASSERT_NE(core::currentMachine(), nullptr);
  EXPECT_EQ(liveTasks(u"emulationTask"), 1);
  core::pauseEmulation();
  core::pauseEmulation();  // already paused: returns at once
  EXPECT_EQ(core::currentMachine()->running.load(), 0);
  // The interpreter has returned; its thread finishes right after.
  EXPECT_TRUE(os::waitTaskSuspended(core::emulationState()->emulationTask.load(),
                                    std::chrono::seconds(20)));
  EXPECT_EQ(liveTasks(u"emulationTask"), 0);
  core::resumeEmulation();
  core::resumeEmulation();
  EXPECT_EQ(core::currentMachine()->running.load(), 1);
  EXPECT_EQ(liveTasks(u"emulationTask"), 1);
  EXPECT_EQ(liveTasks(u"emulatorMainTask"), 1);
}

TEST_F(EmulationControl, StopWhileTheProcessorSleepsInShutdn) {
  machine::Machine* m = core::currentMachine();
  ASSERT_NE(m, nullptr);
  std::atomic_ref<std::uint32_t> asleep(m->vm.shutDown);
  // Going to sleep refreshes the display once, which wakes this wait.
  ASSERT_TRUE(watch.waitUntil([&] { return asleep.load() == 1; }));
  core::stopMachine();
  EXPECT_EQ(liveTasks(), 0);
  EXPECT_EQ(m->running.load(), 0);
}

TEST_F(EmulationControl, ResetRestartsTheFirmwareAtZero) {
  const unsigned before = watch.changes();
  core::resetCommand();
  // The old interpreter has returned; its thread may take a moment longer to finish.
  EXPECT_TRUE(watch.waitUntil([] { return liveTasks(u"emulationTask") == 1; }));
  EXPECT_TRUE(watch.waitUntil([&] { return watch.changes() > before; }));
}

TEST_F(EmulationControl, BeepCodeSignalsTheBeepEvent) {
  core::EmulationState* state = core::emulationState();
  ASSERT_NE(state, nullptr);
  machine::HostEvent& beep = state->host->beepEvent();
  ASSERT_FALSE(beep.isSignalled());
  os::tagMessage message{0, core::kBeepKeyCode, nullptr};
  os::postMessage(nullptr, &message);
  EXPECT_TRUE(beep.wait(20000));
}

TEST(KeyPositions, RowAndColumnMapThroughTheTable) {
  EXPECT_EQ(core::keyNumberOfPosition(0x10000), 11);  // row 1, column 0
  EXPECT_EQ(core::keyNumberOfPosition(0x10002), 0);
  EXPECT_EQ(core::keyNumberOfPosition(0x70003), 46);  // ON
  EXPECT_EQ(core::keyNumberOfPosition(0x70007), 50);
  EXPECT_EQ(core::keyNumberOfPosition(0x30000), machine::kNullKey);
  EXPECT_EQ(core::keyNumberOfPosition(0x7FFF8 | 0x70000 | 2), 6);  // other bits ignored
  EXPECT_EQ(core::keyNumberOfPosition(core::kBeepKeyCode), machine::kNullKey);
}

}  // namespace
}  // namespace tavrel::test
