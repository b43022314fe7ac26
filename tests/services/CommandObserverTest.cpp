// The dispatcher's line observers, on which the macro recorder rests.
#include <string>
#include <vector>

#include "ServicePluginFixture.h"

namespace tavrel::test {
namespace {

struct LineLog final : ICommandObserver {
  std::vector<std::u16string> lines;
  std::function<void()> whenCalled;
  void lineExecuted(const std::u16string& name, const std::u16string& line) override {
    lines.push_back(name + u"|" + line);
    if (whenCalled) {
      whenCalled();
    }
  }
};

class CommandObserverTest : public ServicePluginTest {
 protected:
  void SetUp() override {
    ServicePluginTest::SetUp();
    registerCommand(u"press", fn::Function<fn::ret<void>, std::u16string>([](std::u16string) {}));
  }
};

TEST_F(CommandObserverTest, SeesLinesThatRanOnlyWhileAdded) {
  LineLog log;
  ICommandDispatcher& dispatcher = *commands.getDispatcher();
  dispatcher.addObserver(&log);
  dispatcher.addObserver(&log);
  run(u"press KEY#7");
  commands.getCache()->execute(commands.getCache()->id(u"press KEY_ON"));
  ::testing::internal::CaptureStderr();
  run(u"press");              // wrong argument count: never ran
  run(u"unknown_command x");  // not registered
  ::testing::internal::GetCapturedStderr();
  dispatcher.removeObserver(&log);
  run(u"press KEY_1");
  EXPECT_EQ(log.lines, (std::vector<std::u16string>{u"press|press KEY#7", u"press|press KEY_ON"}));
}

TEST_F(CommandObserverTest, ObserverMayRemoveObserversFromInsideItsCall) {
  ICommandDispatcher& dispatcher = *commands.getDispatcher();
  LineLog first;
  LineLog second;
  first.whenCalled = [&] {
    dispatcher.removeObserver(&first);
    dispatcher.removeObserver(&second);
  };
  dispatcher.addObserver(&first);
  dispatcher.addObserver(&second);
  run(u"press A");
  run(u"press B");
  EXPECT_EQ(first.lines, std::vector<std::u16string>{u"press|press A"});
  EXPECT_TRUE(second.lines.empty());
}

}  // namespace
}  // namespace tavrel::test
