// Events: auto and manual reset, time limits, invalid handles, named events.
#include <gtest/gtest.h>

#include <thread>

#include "TaskTestSupport.h"
#include "os/Events.h"

namespace tavrel::os {
namespace {

using Clock = std::chrono::steady_clock;

TEST(EventTest, AutoResetEventIsClearedByTheWaitThatSeesIt) {
  tag_EventInfo* event = createEvent(kAutoResetEventKind, 0);
  EXPECT_EQ(pollEvent(event), 0);
  setEvent(event);
  EXPECT_EQ(pollEvent(event), 1);
  EXPECT_EQ(waitEvent(event, 1000), 0);
  EXPECT_EQ(pollEvent(event), 0);
  EXPECT_EQ(waitEvent(event, 1), 1);
  destroyEvent(event);
}

TEST(EventTest, ManualResetEventStaysSetUntilReset) {
  tag_EventInfo* event = createEvent(0, 0);
  setEvent(event);
  EXPECT_EQ(waitEvent(event, 1000), 0);
  EXPECT_EQ(waitEvent(event, 1000), 0);
  EXPECT_EQ(pollEvent(event), 1);
  resetEvent(event);
  EXPECT_EQ(pollEvent(event), 0);
  EXPECT_EQ(waitEvent(event, 1), 1);
  destroyEvent(event);
}

TEST(EventTest, ZeroMeansNoLimit) {
  tag_EventInfo* event = createEvent(0, 0);
  std::thread setter([event] { setEvent(event); });
  EXPECT_EQ(waitEvent(event, 0), 0);
  setter.join();
  destroyEvent(event);
}

TEST(EventTest, NullAndFailedEventsDoNothing) {
  const auto start = Clock::now();
  EXPECT_EQ(waitEvent(nullptr, 100), 1);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(100));
  for (tag_EventInfo* event : {static_cast<tag_EventInfo*>(nullptr), kNoEvent}) {
    EXPECT_EQ(setEvent(event), 0);
    EXPECT_EQ(resetEvent(event), 0);
    EXPECT_EQ(pollEvent(event), 0);
    EXPECT_EQ(waitEvent(event, 0), 1);
    EXPECT_EQ(destroyEvent(event), 0);
  }
}

TEST(EventTest, NamedEventsAreSharedWhileHeld) {
  auto first = openNamedEvent(u"nexotimer");
  auto second = openNamedEvent(u"nexotimer");
  EXPECT_EQ(first, second);
  EXPECT_TRUE(first->manualReset());
  EXPECT_NE(openNamedEvent(u"nexoload"), first);
  first->set();
  first.reset();
  second.reset();
  // Nobody held it any more, so the name opens a new, clear event.
  EXPECT_FALSE(openNamedEvent(u"nexotimer")->isSet());
}

}  // namespace
}  // namespace tavrel::os
