#include <gtest/gtest.h>

#include <string>

#include "tavrel/fn/Function.h"

using namespace tavrel::fn;

namespace {

int add(int a, int b) {
  return a + b;
}

struct Counter {
  int total = 0;
  void bump(int by) { total += by; }
  int read() { return total; }
};

struct Interface {};

}  // namespace

TEST(Function, EmptyCallPrintsOnceAndReturnsZero) {
  Function<ret<int>, int> empty;
  testing::internal::CaptureStdout();
  EXPECT_EQ(empty(7), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "functionnoncompliant: cannot make call\n");

  testing::internal::CaptureStdout();
  EXPECT_EQ(Function<ret<std::u16string>>()(), u"");
  EXPECT_EQ(Function<ret<Interface*>>()(), nullptr);
  Function<ret<void>>()();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "functionnoncompliant: cannot make call\n"
            "functionnoncompliant: cannot make call\n"
            "functionnoncompliant: cannot make call\n");
}

TEST(Function, NullTargetsMakeEmptyFunctions) {
  EXPECT_TRUE(bind(static_cast<int (*)(int, int)>(nullptr)).empty());
  EXPECT_TRUE(bind(static_cast<Counter*>(nullptr), &Counter::bump).empty());
}

TEST(Function, CallsFreeMemberAndLambdaTargets) {
  Function<ret<int>, int, int> sum = bind(&add);
  EXPECT_EQ(sum(2, 3), 5);

  Counter counter;
  Function<ret<void>, int> bump = bind(&counter, &Counter::bump);
  bump(4);
  bump(6);
  EXPECT_EQ(bind(&counter, &Counter::read)(), 10);

  std::u16string seen;
  Function<ret<void>, std::u16string, int, int, int, int, bool> six =
      [&](std::u16string text, int, int, int, int last, bool flag) {
        seen = text + (flag ? u"+" : u"-") + static_cast<char16_t>(u'0' + last);
      };
  six(u"six", 1, 2, 3, 4, true);
  EXPECT_EQ(seen, u"six+4");
}

TEST(Function, CopiesOwnSeparateImplementations) {
  int calls = 0;
  Function<ret<int>> original = [&calls, state = 0]() mutable {
    ++calls;
    return ++state;
  };
  EXPECT_EQ(original(), 1);
  Function<ret<int>> copy = original;
  EXPECT_NE(copy.base(), original.base());
  // The copy carries the state as it was, and moves on independently.
  EXPECT_EQ(copy(), 2);
  EXPECT_EQ(copy(), 3);
  EXPECT_EQ(original(), 2);
  EXPECT_EQ(calls, 4);

  Function<ret<int>> moved = std::move(copy);
  EXPECT_TRUE(copy.empty());
  EXPECT_EQ(moved(), 4);
}

TEST(Function, AdoptChecksTheSignatureByContent) {
  Function<ret<int>, int, int> sum = bind(&add);
  IFunctionBase* raw = sum.detach();
  EXPECT_EQ(raw->parameterCount(), 2);

  auto wrong = Function<ret<int>, int>::adopt(raw);
  EXPECT_TRUE(wrong.empty());  // refused: the caller still owns raw
  auto right = Function<ret<int>, int, int>::adopt(raw);
  ASSERT_FALSE(right.empty());
  EXPECT_EQ(right(20, 22), 42);
  EXPECT_TRUE((Function<ret<long>, int, int>::copyOf(right.base()).empty()));
}

TEST(Function, CallsWithTextArguments) {
  std::u16string gotText;
  int gotNumber = 0;
  Function<ret<int>, std::u16string, int> handler = [&](std::u16string text, int number) {
    gotText = text;
    gotNumber = number;
    return number * 2;
  };
  IFunctionBase* base = handler.detach();
  Function<ret<int>, std::u16string, int> owner(
      static_cast<ICallable<int, std::u16string, int>*>(base));

  TextCallResult result;
  ASSERT_TRUE(base->callWithText(ParameterList{u"hello", u"-21"}, result));
  EXPECT_EQ(gotText, u"hello");
  EXPECT_EQ(gotNumber, -21);
  EXPECT_EQ(result.number, -42);

  gotNumber = 0;
  EXPECT_FALSE(base->callWithText(ParameterList{u"x", u"12a"}, result));
  EXPECT_FALSE(base->callWithText(ParameterList{u"x", u"+-3"}, result));
  EXPECT_FALSE(base->callWithText(ParameterList{u"x", u"\uff11"}, result));  // wide digit
  EXPECT_FALSE(base->callWithText(ParameterList{u"x", u"99999999999"}, result));
  EXPECT_FALSE(base->callWithText(ParameterList{u"x", u"1", u"extra"}, result));
  EXPECT_FALSE(base->callWithText(ParameterList{u"only text"}, result));  // "" is no number
  EXPECT_EQ(gotNumber, 0);
}

TEST(Function, TextCallsGiveTextAndPointerResults) {
  Interface object;
  Function<ret<std::u16string>, std::u16string> echo = [](std::u16string t) { return t + u"!"; };
  Function<ret<Interface*>> get = [&] { return &object; };
  TextCallResult result;
  IFunctionBase* echoBase = echo.detach();
  ASSERT_TRUE(echoBase->callWithText(ParameterList{u"hi"}, result));
  EXPECT_EQ(result.text, u"hi!");
  echoBase->release();

  IFunctionBase* getBase = get.detach();
  ASSERT_TRUE(getBase->callWithText(ParameterList{}, result));
  EXPECT_EQ(result.pointer, &object);
  getBase->release();
}
