// State files: the exact layout, the round trip, and refusals that change nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "Configuration.h"
#include "StateImage.h"
#include "interpreter_test_machine.h"

namespace tavrel::machine {
namespace {

class StateImage : public InterpreterTest {
 protected:
  StateImage() {
    folder =
        std::filesystem::temp_directory_path() / ("state_image_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    m.vm.C = reg(0x00100);
    configure(m);
    m.vm.C = reg(0x80000);
    configure(m);
    configure(m);
  }
  ~StateImage() override { std::filesystem::remove_all(folder); }

  std::unique_ptr<Machine> freshMachine() { return createMachine("/nonexistent/rom", &host); }

  std::filesystem::path folder;
};

TEST_F(StateImage, LayoutForANameOfFiveCharacters) {
  const std::vector<uint8_t> bytes = encodeState(m, u"ZR T6", 0x0102030405060708ll);
  ASSERT_EQ(bytes.size(), 1318914u);
  EXPECT_EQ(std::memcmp(bytes.data(), "s#tavrel", 8), 0);
  EXPECT_EQ(bytes[8], 5u);
  EXPECT_EQ(bytes[12], 'Z');
  EXPECT_EQ(bytes[13], 0u);
  EXPECT_EQ(bytes[22], 0x08u);  // clock offset, little-endian
  EXPECT_EQ(bytes[29], 0x01u);
  EXPECT_EQ(bytes[30] | bytes[31] << 8, 4064);
  // The record at 34: its ioBase at 0xEAC.
  int32_t ioBase;
  std::memcpy(&ioBase, &bytes[34 + 0xEAC], 4);
  EXPECT_EQ(ioBase, 4);
}

TEST_F(StateImage, RoundTripRestoresRegistersMemoryAndMap) {
  m.vm.A = reg(0x123456789ABCDEF0ull);
  m.vm.PC = 0x4321;
  setP(m, 11);
  writeNibbles(m, 0x80010, 0xC0FFEE, 6);
  mapDisp0(m, 0x90);
  writeNibbles(m, 0x90000, 0x5A, 2);
  const std::filesystem::path file = folder / "a.vstate";
  std::string error;
  ASSERT_TRUE(writeStateFile(file, m, u"ZR T6", -77, error)) << error;
  EXPECT_EQ(std::filesystem::file_size(file), 1318914u);

  auto other = freshMachine();
  StateHeader header;
  ASSERT_TRUE(readStateFile(file, *other, nullptr, header, error)) << error;
  EXPECT_EQ(header.name, u"ZR T6");
  EXPECT_EQ(header.clockOffset, -77);
  EXPECT_EQ(value(other->vm.A), 0x123456789ABCDEF0ull);
  EXPECT_EQ(other->vm.PC, 0x4321u);
  EXPECT_EQ(other->vm.P, 11u);
  EXPECT_EQ(other->vm.fieldMask[kFieldWP], 0x0000FFFFFFFFFFFFull);
  EXPECT_EQ(readNibbles(*other, 0x80010, 6), 0xC0FFEEu);
  EXPECT_EQ(other->readPage[0x90], other->disp0);
  EXPECT_EQ(readNibbles(*other, 0x90000, 2), 0x5Au);
  unmapDisp0(*other);
  EXPECT_EQ(other->readPage[0x90], other->port0 + 0x10 * kPageBytes / 4);
  // Written again, the image is the same byte for byte.
  mapDisp0(*other, 0x90);
  EXPECT_EQ(encodeState(*other, u"ZR T6", -77), encodeState(m, u"ZR T6", -77));
}

TEST_F(StateImage, WrongRecordSizeChangesNothing) {
  std::vector<uint8_t> bytes = encodeState(m, u"ZR T6", 0);
  bytes[30] = 0xA0;  // 4000
  bytes[31] = 0x0F;
  auto other = freshMachine();
  writeNibbles(*other, 0, 0, 1);
  const std::vector<uint8_t> before = encodeState(*other, u"x", 0);
  StateHeader header;
  std::string error;
  EXPECT_FALSE(decodeState(*other, bytes, nullptr, header, error));
  EXPECT_EQ(error, "Invalid state file");
  EXPECT_EQ(encodeState(*other, u"x", 0), before);
}

TEST_F(StateImage, ShortFileLeavesMemoryUntouched) {
  writeNibbles(m, 0x80000, 0xAAAA, 4);
  std::vector<uint8_t> bytes = encodeState(m, u"ZR T6", 0);
  bytes.resize(300000);  // cut in the middle of port 1
  const std::filesystem::path file = folder / "short.vstate";
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  auto other = freshMachine();
  writeNibbles(*other, 0x80000, 0x1234, 4);  // not mapped there: ROM
  const std::vector<uint8_t> before = encodeState(*other, u"x", 0);
  StateHeader header;
  std::string error;
  EXPECT_FALSE(readStateFile(file, *other, nullptr, header, error));
  EXPECT_EQ(encodeState(*other, u"x", 0), before);
}

TEST_F(StateImage, RefusedNameChangesNothing) {
  const std::vector<uint8_t> bytes = encodeState(m, u"Other", 0);
  auto other = freshMachine();
  const std::vector<uint8_t> before = encodeState(*other, u"x", 0);
  StateHeader header;
  std::string error;
  auto onlyOurs = [](const std::u16string& name) { return name.find(u"ZR T6") != name.npos; };
  EXPECT_FALSE(decodeState(*other, bytes, onlyOurs, header, error));
  EXPECT_EQ(encodeState(*other, u"x", 0), before);
  EXPECT_TRUE(decodeState(*other, encodeState(m, u"ZR T6 (big)", 0), onlyOurs, header, error));
}

TEST_F(StateImage, BadMagicAndHugeNameAreRefused) {
  std::vector<uint8_t> bytes = encodeState(m, u"ZR T6", 0);
  StateHeader header;
  std::string error;
  bytes[0] = 'S';
  EXPECT_FALSE(decodeState(m, bytes, nullptr, header, error));
  bytes[0] = 's';
  bytes[11] = 0x7F;  // n far beyond the file
  EXPECT_FALSE(decodeState(m, bytes, nullptr, header, error));
}

TEST_F(StateImage, DamagedRecordIsMadeSafe) {
  std::vector<uint8_t> bytes = encodeState(m, u"ZR T6", 0);
  auto poke = [&](std::size_t offset, uint32_t v) { std::memcpy(&bytes[34 + offset], &v, 4); };
  poke(0xC60, 0x1F);        // P
  poke(0xCA0, 0x100);       // returnStackIndex
  poke(0xEB8, 0);           // port0Pages
  poke(0xED8, 0xFFFFFFFF);  // romBankLow
  poke(0xF64, 0x1FF);       // disp0Page
  poke(0x000, 0xDEADBEEF);  // a page table entry
  StateHeader header;
  std::string error;
  ASSERT_TRUE(decodeState(m, bytes, nullptr, header, error)) << error;
  EXPECT_EQ(m.vm.P, 15u);
  EXPECT_EQ(m.vm.returnStackIndex, 0u);
  EXPECT_EQ(m.readPage[1], m.filler);
  EXPECT_EQ(m.readPage[0], m.disp0 + kPageBytes / 4);  // disp0 at FF runs on into page 00
  for (uint32_t page = 0; page <= kPageCount; ++page)
    ASSERT_NE(m.readPage[page], nullptr);
  EXPECT_EQ(m.readPage[0xFF], m.disp0);
}

TEST_F(StateImage, BanksPastTheRomAreaAreWrittenAsZeros) {
  std::vector<uint8_t> image{7, 255, 255, 255, 255, 255, 255, 255, 0x99};
  loadRomImage(m, image);
  rebuildMap(m);
  const std::vector<uint8_t> bytes = encodeState(m, u"", 0);
  ASSERT_EQ(bytes.size(), kStateFixedBytes);
  const std::size_t banks = kStateFixedBytes - 7 * kStateBankBytes;
  EXPECT_EQ(bytes[banks], 0x99u);
  for (std::size_t i = banks + 1; i < bytes.size(); ++i)
    ASSERT_EQ(bytes[i], 0u) << i;
}

}  // namespace
}  // namespace tavrel::machine
