#include "MacroPlayer.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tavrel::macro {
namespace {

constexpr std::u16string_view kKeyDown = u"key_down ";
constexpr std::u16string_view kKeyUp = u"key_up ";

// The keys a macro holds down at a moment, in the order they were pressed.
class HeldKeys {
 public:
  void follow(const std::u16string& line) {
    if (line.starts_with(kKeyDown)) {
      std::u16string key = line.substr(kKeyDown.size());
      if (std::find(keys_.begin(), keys_.end(), key) == keys_.end()) {
        keys_.push_back(std::move(key));
      }
    } else if (line.starts_with(kKeyUp)) {
      std::erase(keys_, line.substr(kKeyUp.size()));
    }
  }
  void releaseAll(ICommandDispatcher& dispatcher) {
    for (auto key = keys_.rbegin(); key != keys_.rend(); ++key) {
      dispatcher.executeLine(std::u16string(kKeyUp) + *key, 1);
    }
    keys_.clear();
  }

 private:
  std::vector<std::u16string> keys_;
};

}  // namespace

void CMacroPlayer::play(Macro macro, ICommandDispatcher& dispatcher) {
  if (std::this_thread::get_id() == workerId_.load()) {
    return;  // a line of the playing macro cannot restart it: it would wait for itself
  }
  std::lock_guard control(controlMutex_);
  {
    std::lock_guard lock(stateMutex_);
    stopping_ = true;
  }
  stopRequested_.notify_all();
  if (worker_.joinable()) {
    worker_.join();
  }
  {
    std::lock_guard lock(stateMutex_);
    stopping_ = false;
  }
  worker_ = std::thread([this, macro = std::move(macro), &dispatcher] { run(macro, dispatcher); });
}

void CMacroPlayer::stop() {
  {
    std::lock_guard lock(stateMutex_);
    stopping_ = true;
  }
  stopRequested_.notify_all();
  if (std::this_thread::get_id() == workerId_.load()) {
    return;  // a line of the macro: the worker ends after it
  }
  std::lock_guard control(controlMutex_);
  if (worker_.joinable()) {
    worker_.join();
  }
}

void CMacroPlayer::run(const Macro& macro, ICommandDispatcher& dispatcher) {
  workerId_ = std::this_thread::get_id();
  HeldKeys held;
  const auto stopRequested = [this] { return stopping_; };
  for (const MacroStep& step : macro) {
    {
      std::unique_lock lock(stateMutex_);
      if (stopRequested_.wait_for(lock, step.gap, stopRequested)) {
        break;
      }
    }
    dispatcher.executeLine(step.line, 1);
    held.follow(step.line);
  }
  held.releaseAll(dispatcher);
  workerId_ = std::thread::id();
}

}  // namespace tavrel::macro
