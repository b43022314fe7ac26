// The screen block and its text on a machine without firmware, where the test sets the
// display fields itself; and the bytes that name keys.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "Keyboard.h"
#include "Machine.h"
#include "Processor.h"
#include "remote/RemoteKeys.h"
#include "remote/ScreenDump.h"

namespace tavrel::test {
namespace {

using remote_block = std::array<std::uint8_t, core::remote::kScreenBlockBytes>;

class ScreenBlock : public ::testing::Test {
 protected:
  ScreenBlock() : machine(machine::createMachine("/nonexistent/rom", nullptr)), m(*machine) {
    auto* disp0 = reinterpret_cast<std::uint8_t*>(m.disp0);
    for (std::size_t i = 0; i < machine::kDisp0Bytes; ++i)
      disp0[i] = static_cast<std::uint8_t>(i * 7 + 1);
  }

  remote_block build() {
    remote_block block{};
    core::remote::buildScreenBlock(m, block);
    return block;
  }

  std::unique_ptr<machine::Machine> machine;
  machine::Machine& m;
};

TEST_F(ScreenBlock, HeaderBandComesFromFourTimesTheOffsetAndTheSumCoversAllLines) {
  m.vm.headerLines = 3;
  m.vm.headerOffset = 5;
  m.vm.annunciators = 0xA1;
  const remote_block block = build();
  EXPECT_EQ(block[0], 'S');
  EXPECT_EQ(block[1], 0x88);
  EXPECT_EQ(block[2], 0x40);
  EXPECT_EQ(block[3], 0xA1);
  const auto* disp0 = reinterpret_cast<const std::uint8_t*>(m.disp0);
  EXPECT_EQ(std::memcmp(block.data() + 4, disp0 + 20, 3 * 17), 0);
  unsigned sum = 0;
  for (std::size_t i = 4; i < 1092; ++i)
    sum += (block[i] & 0xF) + (block[i] >> 4);
  EXPECT_EQ(block[1092], sum & 0xFF);
  EXPECT_EQ(block[1093], (sum >> 8) & 0xFF);
  EXPECT_EQ(block[1094], 'R');
}

TEST_F(ScreenBlock, HeaderBandPastTheEndOfDisp0ReadsAsZero) {
  m.vm.headerLines = 64;
  m.vm.headerOffset = 1020;  // byte 4080: the first line's last byte is already past the end
  const remote_block block = build();
  const auto* disp0 = reinterpret_cast<const std::uint8_t*>(m.disp0);
  EXPECT_EQ(std::memcmp(block.data() + 4, disp0 + 4080, 16), 0);
  for (std::size_t i = 4 + 16; i < 1092; ++i)
    ASSERT_EQ(block[i], 0) << "byte " << i;
  m.vm.headerOffset = 2047;
  EXPECT_EQ(build()[4], 0);
}

TEST_F(ScreenBlock, TextIsUpperCaseHexLowNibbleFirst) {
  remote_block block{};
  block[0] = 'S';
  block[1] = 0x88;
  block[2] = 0xA4;
  std::array<std::uint8_t, core::remote::kScreenTextBytes> text{};
  core::remote::encodeScreenBlock(block, text);
  EXPECT_EQ(std::string(text.begin(), text.begin() + 8), "35884A00");
}

TEST(RemoteCharacters, LettersSkipTheKeysWithoutOneAndHighBytesActAsKeyCodes) {
  using core::remote::keyOfCharacter;
  EXPECT_EQ(keyOfCharacter('a'), 0);
  EXPECT_EQ(keyOfCharacter('i'), 8);
  EXPECT_EQ(keyOfCharacter('j'), 10);
  EXPECT_EQ(keyOfCharacter('m'), 16);
  EXPECT_EQ(keyOfCharacter('p'), 19);
  EXPECT_EQ(keyOfCharacter('q'), 21);
  EXPECT_EQ(keyOfCharacter('z'), 30);
  EXPECT_EQ(keyOfCharacter('\''), 20);
  EXPECT_EQ(keyOfCharacter('`'), machine::kOnKey);
  EXPECT_EQ(keyOfCharacter('='), 50);
  EXPECT_EQ(keyOfCharacter(0x8B), 10);
  EXPECT_EQ(keyOfCharacter(0x90), 15);
  EXPECT_EQ(keyOfCharacter(0xFB), 46);
  EXPECT_EQ(keyOfCharacter(0xFF), 50);
  for (std::uint8_t none : std::initializer_list<std::uint8_t>{0x80, 0x91, 'A', 'X', '!', 0})
    EXPECT_EQ(keyOfCharacter(none), machine::kNullKey) << int{none};
}

}  // namespace
}  // namespace tavrel::test
