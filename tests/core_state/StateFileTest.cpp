// "nexo_save_state" and "nexo_load_state": the file, the round trip and every refused file.
#include <sys/resource.h>

#include <csignal>
#include <cstring>

#include "CoreStateFixture.h"
#include "StateImage.h"
#include "settings/CoreSettings.h"
#include "state/StateCommands.h"

namespace tavrel::core_state_test {
namespace {

class StateFileTest : public CoreStateFixture {
 protected:
  // The whole machine as a state file would hold it.
  std::vector<std::uint8_t> snapshot() {
    return machine::encodeState(machine(), u"ZR T6", core_->offset);
  }
  void changeEverything() {
    calc_->type("12 34+");
    core_->offset = -55;
  }
  // Saved state; then the machine moves on, and the snapshot of that is what must survive.
  std::filesystem::path savedThenChanged(std::vector<std::uint8_t>& afterChange) {
    const std::filesystem::path path = file("a.vstate");
    EXPECT_TRUE(core::nexoSaveState(wide(path)));
    changeEverything();
    afterChange = snapshot();
    return path;
  }
  void expectRefusedAsInvalid(const std::filesystem::path& path,
                              const std::vector<std::uint8_t>& before) {
    EXPECT_FALSE(core::nexoLoadState(wide(path)));
    EXPECT_EQ(messages(),
              std::vector<std::u16string>{u"ZR Calculator Emulator Error: Invalid state file"});
    EXPECT_TRUE(snapshot() == before) << "the machine changed";
    EXPECT_EQ(core_->pauses, core_->resumes);
  }
};

TEST_F(StateFileTest, FileOfTheRomTypeHoldsTheWholeMachine) {
  core_->offset = 123456789;
  ASSERT_TRUE(core::nexoSaveState(wide(file("s.vstate"))));
  const std::vector<std::uint8_t> bytes = bytesOf(file("s.vstate"));
  ASSERT_EQ(bytes.size(), 1318914u);
  EXPECT_TRUE(bytes == snapshot());
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "s#tavrel");
  EXPECT_EQ(core_->pauses, 1);
  EXPECT_EQ(core_->resumes, 1);
  // No temporary file is left beside it.
  for (const auto& entry : std::filesystem::directory_iterator(folder_))
    EXPECT_FALSE(entry.path().filename().string().starts_with(".s.vstate")) << entry.path();
}

TEST_F(StateFileTest, LoadRestoresRegistersMemoryDisplayAndClock) {
  core_->offset = 4242;
  const std::vector<std::uint8_t> saved = snapshot();
  const uint32_t savedPc = machine().vm.PC;
  ASSERT_TRUE(core::nexoSaveState(wide(file("s.vstate"))));
  changeEverything();
  ASSERT_FALSE(snapshot() == saved);

  ASSERT_TRUE(core::nexoLoadState(wide(file("s.vstate"))));
  EXPECT_EQ(core_->offset, 4242);
  EXPECT_EQ(machine().vm.PC, savedPc);
  EXPECT_TRUE(snapshot() == saved);
  EXPECT_TRUE(messages().empty());
  // The calculator carries on from the loaded state as a freshly booted one does.
  firmware_test::DemoCalculator fresh;
  fresh.type("5 6+");
  calc_->type("5 6+");
  EXPECT_EQ(calc_->lcdArt(), fresh.lcdArt());
}

TEST_F(StateFileTest, RecordSizeOtherThan4064IsRefusedAndChangesNothing) {
  std::vector<std::uint8_t> before;
  const std::filesystem::path path = savedThenChanged(before);
  std::vector<std::uint8_t> bytes = bytesOf(path);
  const uint32_t wrongSize = 4000;
  std::memcpy(bytes.data() + 20 + 2 * 5, &wrongSize, 4);
  writeBytes(path, bytes);
  expectRefusedAsInvalid(path, before);
}

TEST_F(StateFileTest, FileCutShortInPort1IsRefusedAndChangesNothing) {
  std::vector<std::uint8_t> before;
  const std::filesystem::path path = savedThenChanged(before);
  std::vector<std::uint8_t> bytes = bytesOf(path);
  bytes.resize(266232 + 10 + 60000);
  writeBytes(path, bytes);
  expectRefusedAsInvalid(path, before);
}

TEST_F(StateFileTest, OverlongFileIsRefused) {
  std::vector<std::uint8_t> before;
  const std::filesystem::path path = savedThenChanged(before);
  std::vector<std::uint8_t> bytes = bytesOf(path);
  bytes.push_back(0);
  writeBytes(path, bytes);
  expectRefusedAsInvalid(path, before);
}

TEST_F(StateFileTest, FileCutInsideTheNameIsRefused) {
  std::vector<std::uint8_t> before;
  const std::filesystem::path path = savedThenChanged(before);
  std::vector<std::uint8_t> bytes = bytesOf(path);
  bytes.resize(15);
  writeBytes(path, bytes);
  expectRefusedAsInvalid(path, before);
}

TEST_F(StateFileTest, WrongMagicOrBareMagicIsRefusedSilently) {
  std::vector<std::uint8_t> before;
  const std::filesystem::path path = savedThenChanged(before);
  std::vector<std::uint8_t> bytes = bytesOf(path);
  bytes[1] = '!';
  writeBytes(path, bytes);
  EXPECT_FALSE(core::nexoLoadState(wide(path)));
  writeBytes(path, {'s', '#', 't', 'a', 'v', 'r', 'e', 'l'});
  EXPECT_FALSE(core::nexoLoadState(wide(path)));
  EXPECT_TRUE(messages().empty());
  EXPECT_TRUE(snapshot() == before);
}

TEST_F(StateFileTest, NameOfAnotherCalculatorIsRefusedSilently) {
  const std::vector<std::uint8_t> other = machine::encodeState(machine(), u"ZR T5", 9);
  changeEverything();
  const std::vector<std::uint8_t> before = snapshot();
  writeBytes(file("other.vstate"), other);
  EXPECT_FALSE(core::nexoLoadState(wide(file("other.vstate"))));
  EXPECT_TRUE(messages().empty());
  EXPECT_TRUE(snapshot() == before);
  EXPECT_EQ(core_->pauses, 0);
}

TEST_F(StateFileTest, NameOfTheSkinAloneIsAccepted) {
  core_->offset = 31;
  const std::vector<std::uint8_t> saved = snapshot();
  writeBytes(file("skin.vstate"), machine::encodeState(machine(), core_->skin, 31));
  changeEverything();
  ASSERT_TRUE(core::nexoLoadState(wide(file("skin.vstate"))));
  EXPECT_TRUE(snapshot() == saved);
  EXPECT_EQ(core_->offset, 31);
}

TEST_F(StateFileTest, MissingFileForgetsTheSavedValues) {
  registry_->writeText(u"", u"InitialROM", u"demo.rom");
  for (const std::u16string& key : {core::currentSkinKey(), core::initialRomKey()}) {
    registry_->createKey(u"", key);
    registry_->writeText(key, u"Saved", u"/gone.vstate");
  }
  EXPECT_FALSE(core::nexoLoadState(wide(file("gone.vstate"))));
  EXPECT_EQ(registry_->readText(u"skins\\Demo Blue (large)", u"Saved"), u"");
  EXPECT_EQ(registry_->readText(u"ROM\\demo.rom", u"Saved"), u"");
  EXPECT_TRUE(messages().empty());
}

TEST_F(StateFileTest, SaveIntoAMissingFolderSaysSo) {
  EXPECT_FALSE(core::nexoSaveState(wide(file("no such folder/s.vstate"))));
  EXPECT_EQ(messages(), std::vector<std::u16string>{u"Save Error: Could not create file."});
}

// The disk refuses the write half way (a file size limit, as a full disk would).
TEST_F(StateFileTest, FailedWriteKeepsThePreviousFile) {
  const std::filesystem::path path = file("kept.vstate");
  ASSERT_TRUE(core::nexoSaveState(wide(path)));
  const std::vector<std::uint8_t> previous = bytesOf(path);
  changeEverything();

  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
  const rlimit small{500000, limit.rlim_max};
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = core::nexoSaveState(wide(path));
  setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(saved);
  EXPECT_EQ(messages(), std::vector<std::u16string>{u"Save Error: Could not write to file."});
  EXPECT_TRUE(bytesOf(path) == previous);
  for (const auto& entry : std::filesystem::directory_iterator(folder_))
    EXPECT_FALSE(entry.path().filename().string().starts_with(".kept")) << entry.path();
  EXPECT_EQ(core_->pauses, core_->resumes);
}

}  // namespace
}  // namespace tavrel::core_state_test
