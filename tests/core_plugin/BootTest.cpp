// Booting, booting again while a machine runs, and rebooting.
#include "CoreFixture.h"

namespace tavrel::test {
namespace {

using Boot = CoreFixture;

// How many more tasks the core's task table takes now. The probe tasks wait on an event of
// the core's own and are ended before this returns.
std::size_t freeTaskSlots(nexo::_NEXOInterface& r) {
  nexo::tag_EventInfo* release = r.createEvent(0, 0);
  std::vector<nexo::Task> probes;
  while (probes.size() <= 16) {
    nexo::Task task = r.createTask(nexo::VoidFunction([&r, release] { r.waitEvent(release, 0); }),
                                   0, 0, 0, TAVREL_DEBUG_LINE, u"probe");
    if (task == nullptr)
      break;
    probes.push_back(task);
  }
  r.setEvent(release);
  for (nexo::Task task : probes)
    r.endTask(task);
  r.destroyEvent(release);
  return probes.size();
}

TEST_F(Boot, BootStartsTheMainTaskAndTheInterpreter) {
  importCore();
  nexo::_NEXOInterface& r = *session.record();
  EXPECT_EQ(freeTaskSlots(r), 16u);
  boot(u"Blue#Demo#Skin");
  EXPECT_NE(r.mainTask(), nullptr);
  EXPECT_EQ(freeTaskSlots(r), 14u);  // emulatorMainTask and emulationTask
  EXPECT_EQ(textResult(u"get_skin_name"), u"Blue Demo Skin");
  EXPECT_EQ(textResult(u"get_rom_type"), u"ZR T6");
  // The machine runs: the firmware draws its first screen.
  EXPECT_TRUE(watch.waitUntil([&] {
    const auto image = display();
    return std::any_of(image.begin(), image.end(), [](std::uint8_t b) { return b != 0; });
  }));
}

TEST_F(Boot, SecondBootEndsTheOldTasksBeforeItReturns) {
  importCore();
  nexo::_NEXOInterface& r = *session.record();
  boot(u"First");
  nexo::Task firstMain = r.mainTask();
  ASSERT_NE(firstMain, nullptr);
  boot(u"Second");
  EXPECT_NE(r.mainTask(), nullptr);
  EXPECT_EQ(freeTaskSlots(r), 14u);  // not 12: the first machine's tasks are gone
  EXPECT_EQ(textResult(u"get_skin_name"), u"Second");
  const unsigned before = watch.changes();
  EXPECT_TRUE(watch.waitUntil([&] { return watch.changes() > before; }));
}

TEST_F(Boot, RebootKeepsRomAndSkin) {
  importCore();
  nexo::_NEXOInterface& r = *session.record();
  boot(u"Kept");
  session.execute(u"reboot");
  EXPECT_NE(r.mainTask(), nullptr);
  EXPECT_EQ(freeTaskSlots(r), 14u);
  EXPECT_EQ(textResult(u"get_skin_name"), u"Kept");
}

TEST_F(Boot, RebootAndResetBeforeAnyBootChangeNothing) {
  importCore();
  nexo::_NEXOInterface& r = *session.record();
  session.execute(u"reboot");
  session.execute(u"reset");
  r.resetMachine();
  EXPECT_EQ(r.mainTask(), nullptr);
  EXPECT_EQ(freeTaskSlots(r), 16u);
}

TEST_F(Boot, CloseLibraryAfterBootEndsEveryTask) {
  importCore();
  nexo::_NEXOInterface& r = *session.record();
  boot();
  ASSERT_EQ(freeTaskSlots(r), 14u);
  session.closeCore();
  EXPECT_EQ(session.commands().getRegistry()->get(u"boot_nexo_rom"), nullptr);
}

}  // namespace
}  // namespace tavrel::test
