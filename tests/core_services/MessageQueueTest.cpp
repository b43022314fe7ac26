// The core's message queue: order, coalescing of refresh messages, blocking receive.
#include <gtest/gtest.h>

#include <thread>

#include "TaskTestSupport.h"
#include "os/Events.h"
#include "os/MessageQueue.h"

namespace tavrel::os {
namespace {

class MessageQueueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    emptyMessageQueue();
    posted->reset();
  }
  void TearDown() override { emptyMessageQueue(); }
  std::shared_ptr<Event> posted = openNamedEvent(u"nexoevent");
};

TEST_F(MessageQueueTest, DeliversInOrderAndSignalsEachPost) {
  tagMessage key{0, 0x10002, nullptr};
  EXPECT_EQ(postMessage(nullptr, &key), 0);
  EXPECT_TRUE(posted->isSet());
  EXPECT_EQ(sendMessage(nullptr, 1, 0x10002, nullptr), 0);
  tagMessage out;
  EXPECT_EQ(receiveMessage(&out), 0);
  EXPECT_EQ(out.type, 0u);
  EXPECT_EQ(out.first, 0x10002);
  EXPECT_EQ(receiveMessage(&out), 0);
  EXPECT_EQ(out.type, 1u);
  EXPECT_EQ(messageQueue().size(), 0u);
}

TEST_F(MessageQueueTest, ASecondRefreshWhileOneWaitsIsDropped) {
  tagMessage refresh{kRefreshMessage, 0, nullptr};
  EXPECT_EQ(postMessage(nullptr, &refresh), 0);
  posted->reset();
  EXPECT_EQ(postMessage(nullptr, &refresh), 1);
  EXPECT_FALSE(posted->isSet());  // a dropped message signals nothing
  EXPECT_EQ(messageQueue().size(), 1u);
  tagMessage out;
  receiveMessage(&out);
  // Once read, the next refresh is queued again.
  EXPECT_EQ(postMessage(nullptr, &refresh), 0);
}

TEST_F(MessageQueueTest, EmptyingForgetsAWaitingRefresh) {
  tagMessage refresh{kRefreshMessage, 0, nullptr};
  postMessage(nullptr, &refresh);
  emptyMessageQueue();
  EXPECT_EQ(postMessage(nullptr, &refresh), 0);
}

TEST_F(MessageQueueTest, ReceiveWaitsForAPostFromAnotherThread) {
  std::thread poster([] { sendMessage(nullptr, 4, 0, nullptr); });
  tagMessage out;
  EXPECT_EQ(receiveMessage(&out), 0);
  EXPECT_EQ(out.type, 4u);
  poster.join();
}

TEST_F(MessageQueueTest, NullMessagesAreRefused) {
  EXPECT_EQ(postMessage(nullptr, nullptr), 1);
  EXPECT_EQ(receiveMessage(nullptr), -1);
}

}  // namespace
}  // namespace tavrel::os
