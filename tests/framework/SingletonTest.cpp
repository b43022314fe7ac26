#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tavrel/Singleton.h"

namespace {

std::vector<std::string>& destroyed() {
  static std::vector<std::string> names;
  return names;
}

struct First {
  ~First() { destroyed().push_back("First"); }
};
struct Second {
  ~Second() { destroyed().push_back("Second"); }
};
// Uses First while it is made, so it is complete after First and must go before it.
struct Third {
  Third() { tavrel::TSingleton<First>::instance(); }
  ~Third() { destroyed().push_back("Third"); }
};
struct Fourth {
  Fourth() { tavrel::TSingleton<Second>::instance(); }
  ~Fourth() { destroyed().push_back("Fourth"); }
};

}  // namespace

TEST(Singleton, DestroyedInReverseOrderOfCreation) {
  destroyed().clear();
  tavrel::runExitCallbacks();  // nothing of earlier tests may interfere
  destroyed().clear();

  EXPECT_FALSE(tavrel::TSingleton<Third>::exists());
  tavrel::TSingleton<Third>::instance();   // makes First, then Third
  tavrel::TSingleton<Fourth>::instance();  // makes Second, then Fourth
  EXPECT_EQ(&tavrel::TSingleton<First>::instance(), &tavrel::TSingleton<First>::instance());

  tavrel::runExitCallbacks();
  EXPECT_EQ(destroyed(), (std::vector<std::string>{"Fourth", "Second", "Third", "First"}));
  EXPECT_FALSE(tavrel::TSingleton<First>::exists());
}

TEST(Singleton, OneInstanceAcrossThreads) {
  std::vector<const Second*> seen(8);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < seen.size(); ++i) {
    threads.emplace_back([&seen, i] { seen[i] = &tavrel::TSingleton<Second>::instance(); });
  }
  for (auto& thread : threads) {
    thread.join();
  }
  for (const Second* each : seen) {
    EXPECT_EQ(each, seen.front());
  }
}

namespace {

template <char Name>
struct Loud {
  ~Loud() { std::fprintf(stderr, "%c destroyed\n", Name); }
};

}  // namespace

TEST(SingletonDeathTest, DestroyedAtProcessExitNewestFirst) {
  EXPECT_EXIT(
      {
        tavrel::TSingleton<Loud<'A'>>::instance();
        tavrel::TSingleton<Loud<'B'>>::instance();
        std::exit(0);
      },
      testing::ExitedWithCode(0), "B destroyed\nA destroyed\n");
}
