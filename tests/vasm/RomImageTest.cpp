// The ROM image file: header, bank sizes and where each address lands.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

#include "AssembleHelpers.h"
#include "RomImage.h"

namespace tavrel::vasm::test {
namespace {

std::vector<uint8_t> romOf(std::string_view source) {
  const Assembly a = assemble(source);
  EXPECT_TRUE(a.errors.empty()) << joinErrors(a);
  std::vector<uint8_t> image;
  EXPECT_EQ(buildRomImage(a.nibbles, image), "");
  return image;
}

TEST(RomImage, HeaderHoldsSevenBankSizesInKilobytes) {
  const std::vector<uint8_t> image = romOf("NIBHEX 1234");
  ASSERT_EQ(image.size(), 8u + 1024u);
  EXPECT_EQ(image[0], 7);
  EXPECT_EQ(image[1], 1);
  for (int bank = 2; bank <= 7; ++bank) {
    EXPECT_EQ(image[bank], 0) << bank;
  }
  // Two nibbles per byte, the first in the low half.
  EXPECT_EQ(image[8], 0x21);
  EXPECT_EQ(image[9], 0x43);
  EXPECT_EQ(image[10], 0);
}

TEST(RomImage, AddressesMapToBanksByTheirTopBits) {
  const std::vector<uint8_t> image = romOf(
      "NIBHEX 1\n"
      "ORG #40000\nNIBHEX 2\n"
      "ORG #C0800\nNIBHEX 34\n");
  EXPECT_EQ(image[1], 128);  // banks below the last used one are whole
  EXPECT_EQ(image[2], 128);
  EXPECT_EQ(image[3], 128);
  EXPECT_EQ(image[4], 2);  // 0x800 nibbles + 2 = 1025 bytes -> 2 KB
  EXPECT_EQ(image[5], 0);
  const size_t bank1 = 8 + 128 * 1024;
  const size_t bank3 = 8 + 3 * 128 * 1024;
  EXPECT_EQ(image[8], 0x01);
  EXPECT_EQ(image[bank1], 0x02);
  EXPECT_EQ(image[bank3 + 0x400], 0x43);
  EXPECT_EQ(image.size(), bank3 + 2048);
}

TEST(RomImage, BankDirectivePlacesHighWindowCodeInItsBank) {
  const Assembly a = assemble("BANK 5\nORG #40010\nhere: GOVLNG here\n");
  ASSERT_TRUE(a.errors.empty()) << joinErrors(a);
  EXPECT_EQ(a.labels.at("here"), 0x40010u);
  EXPECT_EQ(hexOf(a.nibbles, 5 * 0x40000 + 0x10), "8D01004");
  std::vector<uint8_t> image;
  ASSERT_EQ(buildRomImage(a.nibbles, image), "");
  EXPECT_EQ(image[6], 1);
  EXPECT_EQ(image[7], 0);
  EXPECT_EQ(image[8 + 5 * 128 * 1024 + 8], 0xD8);
}

TEST(RomImage, ImagesLargerThanTheMachineReadsAreRejected) {
  std::vector<uint8_t> nibbles(7 * kRomBankNibbles, 0);
  std::vector<uint8_t> image;
  EXPECT_NE(buildRomImage(nibbles, image).find("larger than 917504 bytes"), std::string::npos);
  nibbles.resize(7 * kRomBankNibbles - 2048 * 2);
  EXPECT_EQ(buildRomImage(nibbles, image), "");
  EXPECT_LE(image.size(), kRomMaxBytes);
}

TEST(RomImage, ReadingGivesBackTheNibblesAndRejectsShortFiles) {
  const Assembly a = assemble("NIBHEX 123\nORG #40000\nNIBHEX ABC");
  std::vector<uint8_t> image;
  ASSERT_EQ(buildRomImage(a.nibbles, image), "");
  std::vector<uint8_t> nibbles;
  ASSERT_EQ(readRomImage(image, nibbles), "");
  ASSERT_GE(nibbles.size(), a.nibbles.size());
  EXPECT_EQ(hexOf(nibbles).substr(0, 3), "123");
  EXPECT_EQ(hexOf(nibbles).substr(0x40000, 3), "ABC");
  image.resize(image.size() - 1);
  EXPECT_EQ(readRomImage(image, nibbles), "ROM image ends inside bank 1");
  EXPECT_EQ(readRomImage(std::vector<uint8_t>{7, 0}, nibbles), "ROM image header too short");
}

class VasmProgramTest : public ::testing::Test {
 protected:
  std::filesystem::path dir_ =
      std::filesystem::temp_directory_path() / ("vasm-cli-" + std::to_string(::getpid()));
  std::filesystem::path vasm_ = std::filesystem::path(std::getenv("TAVREL_BUILD_DIR")) / "vasm";

  void SetUp() override { std::filesystem::create_directories(dir_); }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  int run(const std::string& arguments) {
    const std::string command = vasm_.string() + " " + arguments + " 2>" + (dir_ / "err").string();
    return std::system(command.c_str());
  }
  std::string read(const std::string& name) {
    std::ifstream in(dir_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
};

TEST_F(VasmProgramTest, WritesRomAndNibbleText) {
  std::ofstream(dir_ / "p.s") << "ORG 2\nNIBHEX 1F\n";
  ASSERT_EQ(run((dir_ / "p.s").string() + " -o " + (dir_ / "p.rom").string() + " --nibbles " +
                (dir_ / "p.txt").string()),
            0);
  EXPECT_EQ(read("p.txt"), "001F\n");
  const std::string rom = read("p.rom");
  ASSERT_EQ(rom.size(), 8u + 1024u);
  EXPECT_EQ(static_cast<uint8_t>(rom[9]), 0xF1);
}

TEST_F(VasmProgramTest, ErrorsLeaveThePreviousOutputAlone) {
  std::ofstream(dir_ / "p.rom") << "old";
  std::ofstream(dir_ / "bad.s") << "RTN\nGOTO nowhere\n";
  EXPECT_NE(run((dir_ / "bad.s").string() + " -o " + (dir_ / "p.rom").string()), 0);
  EXPECT_EQ(read("p.rom"), "old");
  EXPECT_EQ(read("err"), (dir_ / "bad.s").string() + ":2: undefined symbol 'nowhere'\n");
}

}  // namespace
}  // namespace tavrel::vasm::test
