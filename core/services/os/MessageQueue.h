// The core's one message queue. Any thread posts; only the core's main task receives.
// Display-refresh messages (type 2) are coalesced: one waits in the queue at most.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>

#include "Event.h"
#include "Tasks.h"
#include "tavrel/ThreadLock.h"

namespace tavrel::os {

struct tagMessage {
  std::uint32_t type = 0;
  std::int32_t first = 0;
  void* second = nullptr;
};

inline constexpr std::uint32_t kRefreshMessage = 2;

class MessageQueue {
 public:
  // Opens the named event "nexoevent", which is set after every message that is queued.
  MessageQueue();

  // 0 when queued, 1 when dropped (a refresh message while another one waits).
  int post(const tagMessage& message);
  // Queues the message whatever waits already.
  void send(const tagMessage& message);
  // Takes the oldest message, waiting as long as the queue is empty.
  tagMessage receive();
  void clear();
  std::size_t size() const;

 private:
  // Called with lock_ held.
  void append(const tagMessage& message);
  void announce();

  mutable CThreadLock lock_;
  std::condition_variable_any arrived_;
  std::deque<tagMessage> messages_;
  std::size_t refreshQueued_ = 0;
  std::shared_ptr<Event> posted_;
};

MessageQueue& messageQueue();

// The platform calls; the task argument is ignored, every message goes to messageQueue().
// A null message is dropped (1).
int postMessage(tag_ThreadInfo* task, tagMessage* message);
int sendMessage(tag_ThreadInfo* task, std::uint32_t type, std::int32_t first, void* second);
// Copies the oldest message out; 0, or -1 for a null message (nothing is taken).
int receiveMessage(tagMessage* message);
void emptyMessageQueue();

}  // namespace tavrel::os
