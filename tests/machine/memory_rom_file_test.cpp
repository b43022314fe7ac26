// ROM image files: the bank table from the header, and files that are short, absent,
// oversized or promise more than they hold.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "interpreter_test_machine.h"

namespace tavrel::machine {
namespace {

class RomFile : public InterpreterTest {
 protected:
  RomFile() {
    file = std::filesystem::temp_directory_path() /
           ("rom_file_test_" + std::to_string(::getpid()) + ".rom");
  }
  ~RomFile() override { std::filesystem::remove(file); }
  void writeFile(const std::vector<uint8_t>& bytes) {
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  uint32_t bankOffset(int k) const { return m.vm.romBanks[k] - m.vm.romBanks[0]; }

  std::filesystem::path file;
};

TEST_F(RomFile, BanksFollowTheHeaderAndStartWordAligned) {
  std::vector<uint8_t> bytes{9, 2, 0, 1, 0, 0, 0, 0, 0xEE, 0xEE};  // n = 9: banks from 10
  bytes.resize(10 + 3 * 1024, 0);
  bytes[10] = 0x21;
  bytes[10 + 2048] = 0x43;
  writeFile(bytes);
  const RomLoad load = loadRomFile(m, file);
  rebuildMap(m);
  EXPECT_TRUE(load.opened);
  EXPECT_EQ(load.bytes, bytes.size());
  EXPECT_EQ(bankOffset(1), 2048u);
  EXPECT_EQ(bankOffset(2), 2048u);  // size 0: where the next would start
  EXPECT_EQ(bankOffset(3), 3072u);
  EXPECT_EQ(m.vm.romBanks[0] % 4096, 0u);
  EXPECT_EQ(read2(m, 0), 0x21u);
  m.vm.romBankLow = 2;
  rebuildMap(m);
  EXPECT_EQ(read2(m, 0), 0x43u);
}

TEST_F(RomFile, MissingFileLeavesAZeroRom) {
  const RomLoad load = loadRomFile(m, file);
  rebuildMap(m);
  EXPECT_FALSE(load.opened);
  EXPECT_FALSE(load.message.empty());
  EXPECT_EQ(readNibbles(m, 0x12345, 8), 0u);
}

TEST_F(RomFile, ShortFileAndEmptyFileReadAsZeros) {
  writeFile({7, 128});  // promises 128 KB and holds none of it
  EXPECT_TRUE(loadRomFile(m, file).opened);
  rebuildMap(m);
  EXPECT_EQ(readNibbles(m, 0x3FFF8, 8), 0u);
  EXPECT_EQ(readNibbles(m, 0x7FFF8, 8), 0u);
  writeFile({});
  EXPECT_TRUE(loadRomFile(m, file).opened);
}

TEST_F(RomFile, HeaderPromisingMoreThanTheAreaStaysInsideIt) {
  writeFile({255, 255, 255, 255, 255, 255, 255, 255});
  loadRomFile(m, file);
  for (uint32_t bank = 0; bank < 7; ++bank) {
    m.vm.romBankLow = bank & 3;
    m.vm.romBankHigh = bank;
    rebuildMap(m);
    for (uint32_t page = 0; page < kPageCount; ++page)
      ASSERT_NE(m.readPage[page], nullptr);
    EXPECT_EQ(readNibbles(m, 0x7FFF8, 8), 0u) << bank;  // the last word of the window
  }
}

TEST_F(RomFile, OversizedFileKeepsTheFirstPart) {
  std::vector<uint8_t> bytes(kRomMaxBytes + 100, 0x11);
  bytes[0] = 7;
  writeFile(bytes);
  const RomLoad load = loadRomFile(m, file);
  EXPECT_TRUE(load.truncated);
  EXPECT_EQ(load.bytes, kRomMaxBytes);
}

}  // namespace
}  // namespace tavrel::machine
