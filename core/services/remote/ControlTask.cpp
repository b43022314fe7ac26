#include "ControlTask.h"

#include <atomic>
#include <initializer_list>
#include <new>

#include "DirectLink.h"
#include "DirectPort.h"
#include "Keyboard.h"
#include "Machine.h"
#include "RemoteKeys.h"
#include "ScreenDump.h"
#include "TaskPause.h"
#include "os/Tasks.h"
#include "plugin/CoreCommands.h"

namespace tavrel::core::remote {
namespace {

constexpr std::uint8_t kBusyAnnunciator = 0x10;
constexpr std::uint32_t kRepeatPauseMs = 80;
constexpr std::uint32_t kHoldMs = 70;
constexpr std::uint32_t kEchoPauseMs = 5;
constexpr std::uint32_t kBusyPollMs = 31;
constexpr std::uint32_t kIdleCheckMs = 5;
constexpr std::uint32_t kInterruptPollMs = 1;

class ControlSession {
 public:
  ControlSession(machine::Machine& m, std::shared_ptr<DirectLink> link)
      : m_(m), link_(std::move(link)) {}

  void run();

 private:
  // Each returns false when the link has gone (or the task must stop).
  bool serve(std::uint8_t command);
  bool keyCommand(std::uint8_t command);
  bool characterKey(std::uint8_t byte);
  bool screenDump();
  bool tap(int key);
  bool waitUntilIdle();
  bool waitOutsideInterrupt();
  bool busy() const;
  bool pause(std::uint32_t milliseconds) { return pauseThisTask(milliseconds) && link_->isOpen(); }
  bool send(std::initializer_list<std::uint8_t> bytes) {
    return link_->writeAll(bytes.begin(), bytes.size());
  }

  machine::Machine& m_;
  std::shared_ptr<DirectLink> link_;
  std::unique_ptr<std::uint8_t[]> block_;
  std::unique_ptr<std::uint8_t[]> text_;
  int previousTap_ = machine::kNullKey;
};

void ControlSession::run() {
  block_.reset(new (std::nothrow) std::uint8_t[kScreenBlockBytes]);
  text_.reset(new (std::nothrow) std::uint8_t[kScreenTextBytes]);
  if (block_ == nullptr || text_ == nullptr) {
    send({'M'});
  } else if (send({'S'})) {
    for (int byte = readDirectByte(*link_, m_); byte >= 0; byte = readDirectByte(*link_, m_)) {
      if (!serve(static_cast<std::uint8_t>(byte)))
        break;
    }
  }
  // A link nobody serves would hold the line for ever.
  closeDirectPort(*link_, m_);
}

bool ControlSession::serve(std::uint8_t command) {
  switch (command) {
    case 'Z':
      return send({'R'});
    case 'K':
    case 'D':
    case 'U':
      return keyCommand(command);
    case 'Q':
      closeDirectPort(*link_, m_);
      return false;
    case 'S':
      return screenDump();
    case 'W':
      return waitUntilIdle() && send({'R'});
    case 'X':
      resetCommand();
      return characterKey(command);
    default:
      return characterKey(command);
  }
}

bool ControlSession::keyCommand(std::uint8_t command) {
  const int code = readDirectByte(*link_, m_);
  if (code < 0)
    return false;
  const auto echo = static_cast<std::uint8_t>(code);
  const int key = machine::keyFromRemoteCode(echo);
  if (key == machine::kNullKey)
    return send({'K'});
  if (command == 'D') {
    machine::keyDown(m_, key);
    return send({echo, 'R'});
  }
  if (command == 'U') {
    machine::keyUp(m_, key);
    return send({echo, 'R'});
  }
  return tap(key) && send({echo}) && pause(kEchoPauseMs) && waitUntilIdle() && send({'R'});
}

bool ControlSession::characterKey(std::uint8_t byte) {
  const int key = keyOfCharacter(byte);
  if (key == machine::kNullKey)
    return send({'E', byte});
  return waitOutsideInterrupt() && tap(key) && send({'R'});
}

bool ControlSession::screenDump() {
  std::span<std::uint8_t, kScreenBlockBytes> block(block_.get(), kScreenBlockBytes);
  std::span<std::uint8_t, kScreenTextBytes> text(text_.get(), kScreenTextBytes);
  buildScreenBlock(m_, block);
  encodeScreenBlock(block, text);
  return link_->writeAll(text.data(), text.size());
}

// Key routines as the key messages use them; a repeated key is let go long enough to count
// as a new press.
bool ControlSession::tap(int key) {
  if (key == previousTap_ && !pause(kRepeatPauseMs))
    return false;
  previousTap_ = key;
  machine::keyDown(m_, key);
  const bool held = pause(kHoldMs);
  machine::keyUp(m_, key);
  return held;
}

// The firmware is idle once its busy annunciator has been off at two looks in a row.
bool ControlSession::waitUntilIdle() {
  for (;;) {
    if (busy()) {
      if (!pause(kBusyPollMs))
        return false;
      continue;
    }
    if (!pause(kIdleCheckMs))
      return false;
    if (!busy())
      return true;
  }
}

bool ControlSession::waitOutsideInterrupt() {
  while (std::atomic_ref<std::uint32_t>(m_.vm.inInterrupt).load() != 0) {
    if (!pause(kInterruptPollMs))
      return false;
  }
  return true;
}

bool ControlSession::busy() const {
  return (std::atomic_ref<std::uint8_t>(m_.vm.annunciators).load() & kBusyAnnunciator) != 0;
}

}  // namespace

bool startControlTask(machine::Machine& m, std::shared_ptr<DirectLink> link, int priority) {
  machine::Machine* machine = &m;
  auto body = [machine, link] { ControlSession(*machine, link).run(); };
  return os::createTask(os::TaskEntry(body), static_cast<std::uint32_t>(priority), 0, 0,
                        TAVREL_DEBUG_LINE, u"controlTask") != nullptr;
}

}  // namespace tavrel::core::remote
