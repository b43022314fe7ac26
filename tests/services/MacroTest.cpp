// Recording key commands and playing them back through the real command service.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ServicePluginFixture.h"

namespace tavrel::test {
namespace {

class MacroTest : public ServicePluginTest {
 protected:
  void SetUp() override {
    ServicePluginTest::SetUp();
    for (const char16_t* name : {u"key_down", u"key_up"}) {
      std::u16string command = name;
      registerCommand(command, fn::Function<fn::ret<void>, std::u16string>(
                                   [this, command](std::u16string key) { pressed(command, key); }));
    }
    registerCommand(u"other", fn::Function<fn::ret<void>>([] {}));
    loadPlugin("macro.so");
  }

  // Waits until count key lines have run; false after a generous limit.
  bool waitForKeys(std::size_t count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(20), [&] { return keys_.size() >= count; });
  }
  std::vector<std::u16string> keys() {
    std::lock_guard lock(mutex_);
    return keys_;
  }
  void clearKeys() {
    std::lock_guard lock(mutex_);
    keys_.clear();
    threads_.clear();
  }
  std::vector<std::thread::id> threads() {
    std::lock_guard lock(mutex_);
    return threads_;
  }

  // Run by the key commands on the thread that presses: a test may act there.
  std::function<void(const std::u16string& line)> onKey;

 private:
  void pressed(const std::u16string& command, const std::u16string& key) {
    const std::u16string line = command + u" " + key;
    if (onKey) {
      onKey(line);
    }
    {
      std::lock_guard lock(mutex_);
      keys_.push_back(line);
      threads_.push_back(std::this_thread::get_id());
    }
    changed_.notify_all();
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::u16string> keys_;
  std::vector<std::thread::id> threads_;
};

TEST_F(MacroTest, PlaysTheRecordedKeyLinesInOrderOnAWorkerThread) {
  run(u"record_macro");
  run(u"key_down KEY_7");
  run(u"other");
  run(u"key_up KEY_7");
  run(u"key_down ENTER");
  run(u"key_up ENTER");
  run(u"stop_recording_macro");
  run(u"key_down NOT_RECORDED");
  std::vector<std::u16string> recorded = keys();
  recorded.pop_back();  // the line after the recording
  clearKeys();

  run(u"play_macro");
  ASSERT_TRUE(waitForKeys(4));
  run(u"stop_playing_macro");
  EXPECT_EQ(keys(), recorded);
  for (std::thread::id thread : threads()) {
    EXPECT_NE(thread, std::this_thread::get_id());
  }
}

TEST_F(MacroTest, StoppingReleasesTheKeysTheMacroHolds) {
  run(u"record_macro");
  for (const char16_t* line :
       {u"key_down SHIFT", u"key_down KEY_1", u"key_up KEY_1", u"key_up SHIFT"}) {
    run(line);
  }
  run(u"stop_recording_macro");
  clearKeys();
  // Stopped from the first line of the macro: the rest never runs, SHIFT is let go.
  onKey = [this](const std::u16string& line) {
    if (line == u"key_down SHIFT") {
      run(u"stop_playing_macro");
    }
  };
  run(u"play_macro");
  ASSERT_TRUE(waitForKeys(2));
  run(u"stop_playing_macro");
  EXPECT_EQ(keys(), (std::vector<std::u16string>{u"key_down SHIFT", u"key_up SHIFT"}));
}

TEST_F(MacroTest, PlayingWhileRecordingKeepsTheRecording) {
  ::testing::internal::CaptureStderr();
  run(u"stop_playing_macro");  // nothing plays
  run(u"play_macro");          // nothing recorded
  run(u"stop_playing_macro");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(keys().empty());

  run(u"record_macro");
  run(u"key_down KEY_ON");
  run(u"key_up KEY_ON");
  run(u"play_macro");
  ASSERT_TRUE(waitForKeys(4));
  run(u"stop_playing_macro");
  run(u"play_macro");  // the player's own lines were not recorded
  ASSERT_TRUE(waitForKeys(6));
  closePlugins();  // stops and waits for the player
  EXPECT_EQ(keys().size(), 6u);
  EXPECT_EQ(keys()[4], u"key_down KEY_ON");
  EXPECT_EQ(keys()[5], u"key_up KEY_ON");
}

}  // namespace
}  // namespace tavrel::test
