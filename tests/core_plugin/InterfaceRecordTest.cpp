// The interface record before and after import, its constant slots and its message slots.
#include <cerrno>

#include "CoreFixture.h"

namespace tavrel::test {
namespace {

using InterfaceRecord = CoreFixture;

// Slots the core leaves empty, and a selection of those it fills.
std::vector<bool> notProvided(const nexo::_NEXOInterface& r) {
  return {r.slot0.empty(),  r.slot10.empty(), r.slot12.empty(), r.slot23.empty(), r.slot24.empty(),
          r.slot25.empty(), r.slot26.empty(), r.slot27.empty(), r.slot32.empty(), r.slot55.empty(),
          r.slot56.empty(), r.slot57.empty(), r.slot60.empty(), r.slot61.empty(), r.slot63.empty(),
          r.slot64.empty(), r.slot65.empty()};
}

std::vector<bool> provided(const nexo::_NEXOInterface& r) {
  return {
      bool(r.getDateTime),   bool(r.setDateTime), bool(r.setErrorCode),    bool(r.getErrorCode),
      bool(r.slot5),         bool(r.slot6),       bool(r.resetMachine),    bool(r.createTask),
      bool(r.endTask),       bool(r.sleepTask),   bool(r.currentTask),     bool(r.lockMutex),
      bool(r.mutexOwner),    bool(r.createEvent), bool(r.waitEvent),       bool(r.postMessage),
      bool(r.postMessage2),  bool(r.sendMessage), bool(r.sendMessage2),    bool(r.receiveMessage),
      bool(r.slot40),        bool(r.slot41),      bool(r.startTickTimer),  bool(r.stopTickTimer),
      bool(r.slot44),        bool(r.slot45),      bool(r.setTimerHandler), bool(r.setTimerValue),
      bool(r.getTimerValue), bool(r.startTimer),  bool(r.stopTimer),       bool(r.sharedBlock),
      bool(r.slot52),        bool(r.slot53),      bool(r.slot54),          bool(r.setMainTask),
      bool(r.mainTask),      bool(r.slot62)};
}

TEST_F(InterfaceRecord, ExistsEmptyBeforeImportAndIsFilledInPlace) {
  nexo::_NEXOInterface* before = session.coreInterface();
  ASSERT_NE(before, nullptr);
  EXPECT_EQ(session.coreInterface(), before);
  for (bool filled : provided(*before))
    EXPECT_FALSE(filled);
  EXPECT_EQ(before->displayChanged, nullptr);

  importCore();
  EXPECT_EQ(session.record(), before);
  for (bool filled : provided(*before))
    EXPECT_TRUE(filled);
  for (bool empty : notProvided(*before))
    EXPECT_TRUE(empty);
}

TEST_F(InterfaceRecord, ConstantSlotsAnswerAsDocumented) {
  importCore();
  nexo::_NEXOInterface& r = *session.record();
  EXPECT_EQ(r.slot6(7), 0);
  EXPECT_EQ(r.slot40(nullptr), 1);
  EXPECT_EQ(r.slot41(nullptr), 1);
  EXPECT_EQ(r.slot44(nullptr), reinterpret_cast<void*>(std::uintptr_t{1}));
  EXPECT_EQ(r.slot45(nullptr), 0);
  EXPECT_EQ(r.slot53(), 0u);
  EXPECT_EQ(r.slot54(1, 2, 3), 0);
  EXPECT_EQ(r.slot62(), 0u);
  r.setErrorCode(ENOENT);
  EXPECT_EQ(r.getErrorCode(), ENOENT);
  EXPECT_EQ(r.currentTask(), nullptr);  // the test's own thread is no core task
  unsigned char* block = r.sharedBlock();
  EXPECT_EQ(r.sharedBlock(), block);
}

TEST_F(InterfaceRecord, DuplicateMessageSlotsShareTheQueueAndTheCoalescing) {
  importCore();
  nexo::_NEXOInterface& r = *session.record();
  nexo::tagMessage refresh{2, 0, nullptr};
  EXPECT_EQ(r.postMessage(nullptr, &refresh), 0);
  EXPECT_EQ(r.postMessage2(nullptr, &refresh), 1);  // one refresh waits already
  EXPECT_EQ(r.postMessage(nullptr, &refresh), 1);
  EXPECT_EQ(r.sendMessage(nullptr, 7, 70, nullptr), 0);
  EXPECT_EQ(r.sendMessage2(nullptr, 8, 80, nullptr), 0);
  nexo::tagMessage key{0, 0x10002, nullptr};
  EXPECT_EQ(r.postMessage2(nullptr, &key), 0);

  std::vector<std::pair<std::uint32_t, std::int32_t>> received;
  for (int i = 0; i < 4; ++i) {
    nexo::tagMessage message;
    ASSERT_EQ(r.receiveMessage(&message), 0);
    received.emplace_back(message.type, message.first);
  }
  const std::vector<std::pair<std::uint32_t, std::int32_t>> expected = {
      {2, 0}, {7, 70}, {8, 80}, {0, 0x10002}};
  EXPECT_EQ(received, expected);
  // Taken out, a refresh may be queued again.
  EXPECT_EQ(r.postMessage2(nullptr, &refresh), 0);
}

TEST_F(InterfaceRecord, RomTypeAndSkinNameCommands) {
  importCore();
  EXPECT_EQ(textResult(u"get_rom_type"), u"ZR T6");
  EXPECT_EQ(textResult(u"get_skin_name"), u"");
}

TEST_F(InterfaceRecord, CloseLibraryWithoutBootUnregistersEveryCommand) {
  importCore();
  ICommandRegistry* registry = session.commands().getRegistry();
  for (const char16_t* name : {u"boot_nexo_rom", u"reboot", u"reset", u"get_rom_type",
                               u"get_skin_name", u"nexo_load_state", u"nexo_save_state"})
    EXPECT_NE(registry->get(name), nullptr) << toUtf8(name);
  session.closeCore();
  for (const char16_t* name :
       {u"boot_nexo_rom", u"reboot", u"reset", u"get_rom_type", u"get_skin_name",
        u"nexo_load_state", u"nexo_save_state", u"save", u"savethis", u"export_statfolio"})
    EXPECT_EQ(registry->get(name), nullptr) << toUtf8(name);
  EXPECT_NE(registry->get(u"shutdnoff"), nullptr);  // not the core's
}

}  // namespace
}  // namespace tavrel::test
