// Framework exceptions raised by handlers reach whoever ran the command, code intact.
#include <string>

#include "CommandPluginFixture.h"

namespace tavrel::test {
namespace {

using SkinMissing = excpt::SkinNotInstalledException;  // 4002, refines 4000

class CommandExceptionTest : public CommandPluginTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(CommandPluginTest::SetUp());
    ASSERT_TRUE(registerCommand(
        u"load_skin", fn::Function<fn::ret<void>, std::u16string>([this](std::u16string name) {
          ++attempts;
          throw SkinMissing(u"not installed: " + name);
        })));
  }

  template <class Run>
  int codeRaisedBy(Run run) {
    try {
      run();
    } catch (const excpt::IException& exception) {
      return exception.code();
    }
    return -1;
  }

  int attempts = 0;
};

TEST_F(CommandExceptionTest, RefinedExceptionIsCaughtByItsBaseCodeWithItsData) {
  try {
    dispatcher().executeLine(u"load_skin Old#Skin", 1);
    FAIL() << "nothing was raised";
  } catch (const excpt::SkinException& exception) {
    EXPECT_EQ(exception.code(), 4002);
    auto* refined = dynamic_cast<const SkinMissing*>(&exception);
    ASSERT_NE(refined, nullptr);
    EXPECT_EQ(refined->handler().message, u"not installed: Old Skin");
  }
}

TEST_F(CommandExceptionTest, CommandObjectAndCacheCallersReceiveTheCode) {
  ICommandBase* command = registry().get(u"load_skin");
  command->setParameters(fn::ParameterList{u"x"});
  EXPECT_EQ(codeRaisedBy([&] { dispatcher().executeCommand(command, 1); }), 4002);
  std::uint16_t id = cache().id(u"load_skin y");
  EXPECT_EQ(codeRaisedBy([&] { cache().execute(id); }), 4002);
}

TEST_F(CommandExceptionTest, ExceptionPassesThroughNestedDispatch) {
  ASSERT_TRUE(registerCommand(u"newromstate", fn::Function<fn::ret<void>>([this] {
                                dispatcher().executeLine(u"load_skin Demo", 1);
                              })));
  EXPECT_EQ(codeRaisedBy([&] { dispatcher().executeLine(u"newromstate", 1); }), 4002);
  EXPECT_EQ(attempts, 1);
  EXPECT_EQ(codeRaisedBy([&] { dispatcher().executeLine(u"load_skin Demo", 1); }), 4002);
  EXPECT_EQ(attempts, 2);
}

}  // namespace
}  // namespace tavrel::test
