// Registration, removal, command creation, description handlers and closeLibrary.
#include <algorithm>
#include <string>

#include "CommandPluginFixture.h"

namespace tavrel::test {
namespace {

using OneText = fn::Function<fn::ret<void>, std::u16string>;
using NoArgument = fn::Function<fn::ret<void>>;
using Description = fn::Function<fn::ret<std::u16string>, std::u16string>;

using CommandRegistryTest = CommandPluginTest;

TEST_F(CommandRegistryTest, SecondRegistrationOfANameIsRefusedAndReleased) {
  int firstCalls = 0;
  int secondCalls = 0;
  ReleaseProbe second;
  ASSERT_TRUE(registerCommand(u"reset", NoArgument([&] { ++firstCalls; })));
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(registerCommand(u"reset", NoArgument([&, held = second.held] { ++secondCalls; })));
  std::string errors = ::testing::internal::GetCapturedStderr();
  second.held.reset();
  EXPECT_NE(errors.find("\"reset\" is already registered"), std::string::npos) << errors;
  EXPECT_TRUE(second.released());

  EXPECT_EQ(registry().get(u"reset")->name(), u"reset");
  dispatcher().executeLine(u"reset", 1);
  EXPECT_EQ(firstCalls, 1);
  EXPECT_EQ(secondCalls, 0);
}

TEST_F(CommandRegistryTest, RemovedCommandIsReleasedAndUnknown) {
  ReleaseProbe probe;
  int calls = 0;
  ASSERT_TRUE(registerCommand(u"stop_serial", NoArgument([&, held = probe.held] { ++calls; })));
  probe.held.reset();
  EXPECT_FALSE(probe.released());

  EXPECT_TRUE(registry().remove(u"stop_serial"));
  EXPECT_TRUE(probe.released());
  EXPECT_FALSE(registry().remove(u"stop_serial"));
  EXPECT_EQ(registry().get(u"stop_serial"), nullptr);
  std::string errors = lineErrors(u"stop_serial");
  EXPECT_NE(errors.find("unknown command"), std::string::npos);
  EXPECT_EQ(calls, 0);
}

TEST_F(CommandRegistryTest, HandlerRemovingItsOwnCommandFinishesItsRun) {
  ReleaseProbe probe;
  bool aliveAfterRemoval = false;
  ASSERT_TRUE(registerCommand(u"once", NoArgument([&, held = probe.held] {
                                EXPECT_TRUE(registry().remove(u"once"));
                                aliveAfterRemoval = !probe.released();
                              })));
  probe.held.reset();
  dispatcher().executeLine(u"once", 1);
  EXPECT_TRUE(aliveAfterRemoval);
  EXPECT_TRUE(probe.released());
}

TEST_F(CommandRegistryTest, CreateCommandRefusesUnusableInputAndReleasesHandlers) {
  ReleaseProbe handlerProbe;
  ReleaseProbe descriptionProbe;
  auto attempt = [&](const std::u16string& name, bool withHandler, fn::IFunctionBase* description) {
    NoArgument handler([held = handlerProbe.held] {});
    return commands.createCommand(name, withHandler ? handler.detach() : nullptr, description,
                                  fn::ParameterList{});
  };
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(attempt(u"two words", true, nullptr), nullptr);
  EXPECT_EQ(attempt(u"", true, nullptr), nullptr);
  EXPECT_EQ(attempt(u"no_handler", false, nullptr), nullptr);
  // A description handler has to map a text to a text.
  NoArgument wrongDescription([held = descriptionProbe.held] {});
  EXPECT_EQ(attempt(u"key_down", true, wrongDescription.detach()), nullptr);
  std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 4) << errors;

  handlerProbe.held.reset();
  descriptionProbe.held.reset();
  EXPECT_TRUE(handlerProbe.released());
  EXPECT_TRUE(descriptionProbe.released());
  EXPECT_EQ(registry().get(u"key_down"), nullptr);
}

TEST_F(CommandRegistryTest, DescriptionHandlerGivesTextForAnArgument) {
  std::u16string pressed;
  Description describe([](std::u16string key) { return u"Pressed key " + key; });
  ASSERT_TRUE(registerCommand(u"key_down", OneText([&](std::u16string key) { pressed = key; }),
                              describe.detach()));
  ASSERT_TRUE(registerCommand(u"reset", NoArgument([] {})));

  EXPECT_EQ(registry().get(u"key_down")->describe(u"KEY_ON"), u"Pressed key KEY_ON");
  EXPECT_EQ(registry().get(u"reset")->describe(u"KEY_ON"), u"");
  EXPECT_TRUE(pressed.empty());
  dispatcher().executeLine(u"key_down KEY_ON", 0);
  EXPECT_EQ(pressed, u"KEY_ON");
}

TEST_F(CommandRegistryTest, CloseLibraryEmptiesTheInterfaceAndReleasesCommands) {
  ReleaseProbe handler;
  ReleaseProbe description;
  Description describe([held = description.held](std::u16string key) { return key; });
  ASSERT_TRUE(registerCommand(u"key_up", OneText([held = handler.held](std::u16string) {}),
                              describe.detach()));
  handler.held.reset();
  description.held.reset();

  closePlugin();
  EXPECT_TRUE(handler.released());
  EXPECT_TRUE(description.released());
  EXPECT_TRUE(commands.getDispatcher.empty());
  EXPECT_TRUE(commands.getRegistry.empty());
  EXPECT_TRUE(commands.getCache.empty());
  EXPECT_TRUE(commands.createCommand.empty());
}

TEST_F(CommandRegistryTest, ImportAfterCloseStartsEmpty) {
  ASSERT_TRUE(registerCommand(u"reset", NoArgument([] {})));
  closeEntry();
  importEntry(&hub, &commands);
  EXPECT_EQ(registry().get(u"reset"), nullptr);
  EXPECT_TRUE(registerCommand(u"reset", NoArgument([] {})));
}

}  // namespace
}  // namespace tavrel::test
