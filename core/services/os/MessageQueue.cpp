#include "MessageQueue.h"

#include <chrono>
#include <mutex>

#include "Events.h"

namespace tavrel::os {
namespace {

// The receiver blocks on the queue's condition. It also looks again after this long, as a
// polling receiver would, so that even a missed notification costs no more than that.
constexpr std::chrono::milliseconds kReceiveRecheck{17};

}  // namespace

MessageQueue::MessageQueue() : posted_(openNamedEvent(u"nexoevent")) {}

void MessageQueue::append(const tagMessage& message) {
  messages_.push_back(message);
  if (message.type == kRefreshMessage)
    ++refreshQueued_;
}

void MessageQueue::announce() {
  arrived_.notify_one();
  posted_->set();
}

int MessageQueue::post(const tagMessage& message) {
  {
    std::lock_guard guard(lock_);
    if (message.type == kRefreshMessage && refreshQueued_ > 0)
      return 1;
    append(message);
  }
  announce();
  return 0;
}

void MessageQueue::send(const tagMessage& message) {
  {
    std::lock_guard guard(lock_);
    append(message);
  }
  announce();
}

tagMessage MessageQueue::receive() {
  std::unique_lock guard(lock_);
  while (messages_.empty())
    arrived_.wait_for(guard, kReceiveRecheck);
  const tagMessage message = messages_.front();
  messages_.pop_front();
  if (message.type == kRefreshMessage)
    --refreshQueued_;
  return message;
}

void MessageQueue::clear() {
  std::lock_guard guard(lock_);
  messages_.clear();
  refreshQueued_ = 0;
}

std::size_t MessageQueue::size() const {
  std::lock_guard guard(lock_);
  return messages_.size();
}

MessageQueue& messageQueue() {
  static MessageQueue queue;
  return queue;
}

int postMessage(tag_ThreadInfo*, tagMessage* message) {
  return message != nullptr ? messageQueue().post(*message) : 1;
}

int sendMessage(tag_ThreadInfo*, std::uint32_t type, std::int32_t first, void* second) {
  messageQueue().send(tagMessage{type, first, second});
  return 0;
}

int receiveMessage(tagMessage* message) {
  if (message == nullptr)
    return -1;
  *message = messageQueue().receive();
  return 0;
}

void emptyMessageQueue() {
  messageQueue().clear();
}

}  // namespace tavrel::os
