// A core loaded the way the shell loads it, with temporary settings folders, the demo ROM
// and a display hook that tests can wait on.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <mutex>
#include <vector>

#include "CoreSession.h"
#include "tavrel/Text.h"

namespace tavrel::test {

inline std::filesystem::path buildFolder() {
  const char* folder = std::getenv("TAVREL_BUILD_DIR");
  return folder != nullptr ? folder : ".";
}

inline std::filesystem::path demoRom() {
  return buildFolder() / "data" / "ROM" / "demo.rom";
}

// Settings go to folders of the test's own.
class TemporarySettings {
 public:
  TemporarySettings() {
    folder_ = std::filesystem::temp_directory_path() /
              ("tavrel-core-" + std::to_string(::getpid()) + "-" + std::to_string(++count_));
    std::filesystem::create_directories(folder_ / "user");
    std::filesystem::create_directories(folder_ / "machine");
    ::setenv("XDG_CONFIG_HOME", (folder_ / "user").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", (folder_ / "machine").c_str(), 1);
  }
  ~TemporarySettings() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  const std::filesystem::path& folder() const { return folder_; }

 private:
  static inline int count_ = 0;
  std::filesystem::path folder_;
};

// Counts display changes and wakes waiters on each.
class DisplayWatch {
 public:
  void changed() {
    {
      std::lock_guard guard(mutex_);
      changes_.fetch_add(1);
    }
    changed_.notify_all();
  }
  // Waits until the condition holds, looking again at every display change (and every
  // 20 ms, for conditions that do not come with one); false after the limit.
  bool waitUntil(const std::function<bool()>& condition,
                 std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::unique_lock guard(mutex_);
    while (!condition()) {
      if (std::chrono::steady_clock::now() >= deadline)
        return false;
      changed_.wait_for(guard, std::chrono::milliseconds(20));
    }
    return true;
  }
  // Also usable inside a waitUntil condition.
  unsigned changes() const { return changes_.load(); }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::atomic<unsigned> changes_{0};
};

class CoreFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(session.load(buildFolder() / "components")) << session.error();
  }
  void TearDown() override {
    session.close();
    delete hook;
  }

  // Imports the core and installs the display hook.
  void importCore() {
    ASSERT_TRUE(session.importCore()) << session.error();
    hook = new fn::CallableFunction<std::function<void()>, void>([this] { watch.changed(); });
    session.record()->displayChanged = hook;
  }

  void boot(const std::u16string& skin = u"Demo") {
    std::u16string rom = fromUtf8(demoRom().string());
    for (char16_t& c : rom) {
      if (c == u' ')
        c = u'#';
    }
    session.execute(u"boot_nexo_rom " + rom + u" " + skin);
  }

  std::vector<std::uint8_t> display() {
    std::vector<std::uint8_t> copy(nexo::kSharedBlockBytes);
    std::lock_guard guard(*session.record()->displayLock);
    std::memcpy(copy.data(), session.record()->sharedBlock(), copy.size());
    return copy;
  }

  std::u16string textResult(const std::u16string& line) {
    auto* text = static_cast<std::u16string*>(session.execute(line));
    return text != nullptr ? *text : u"(none)";
  }

  TemporarySettings settings;
  vendelrun::CoreSession session;
  DisplayWatch watch;
  fn::IFunctionBase* hook = nullptr;
};

}  // namespace tavrel::test
