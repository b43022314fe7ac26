// vdis output assembled again by vasm gives the same nibbles.
#include <gtest/gtest.h>

#include <random>

#include "AssembleHelpers.h"
#include "Codec.h"
#include "Disassembler.h"
#include "InstructionSet.h"

namespace tavrel::vasm::test {
namespace {

// Disassembles `nibbles` placed at `address` and assembles the text again.
std::vector<uint8_t> roundTrip(const std::vector<uint8_t>& nibbles, int64_t address,
                               std::string& text) {
  vdis::Region region;
  region.nibbles = nibbles;
  region.address = address;
  text = vdis::disassemble(region);
  const Assembly again = assemble(text);
  EXPECT_TRUE(again.errors.empty()) << joinErrors(again) << text;
  if (again.nibbles.size() < static_cast<size_t>(address)) {
    return {};
  }
  return std::vector<uint8_t>(again.nibbles.begin() + address, again.nibbles.end());
}

// Operands that every row accepts: the smallest legal field and value, a nearby target.
isa::Operands sampleOperands(const isa::Instruction& row, int64_t address, int variant) {
  isa::Operands operands;
  switch (row.fieldKind()) {
    case 'a':
    case 'b':
      operands.field = variant % 8;
      break;
    case 'f':
      operands.field = variant % 16;
      break;
    case 'k':
      operands.field = 1 + variant % 16;
      break;
    default:
      operands.field = row.fixedField;
      break;
  }
  switch (row.operandKind()) {
    case 'n':
      operands.value = variant % 16;
      break;
    case 'm':
      operands.value = 1 + variant % 16;
      break;
    case 'h':
      operands.value =
          (0x12345 * (variant + 1)) &
          ((int64_t{1} << (4 * row.pattern.find_last_of('h') - 4 * row.pattern.find('h') + 4)) - 1);
      break;
    case 'r':
    case 's':
      operands.value = address - 40 + variant;
      break;
    case 'c':
      operands.digits = 1 + variant % 16;
      operands.value = variant;
      break;
    default:
      break;
  }
  return operands;
}

TEST(RoundTrip, EveryInstructionOfTheTable) {
  const int64_t address = 0x1000;
  int instructions = 0;
  for (int variant = 0; variant < 16; ++variant) {
    std::vector<uint8_t> code;
    for (const isa::Instruction& row : isa::instructionTable()) {
      if (row.reserved() || row.mnemonic == "GOYES" || row.mnemonic == "RTNYES") {
        continue;
      }
      const int64_t at = address + static_cast<int64_t>(code.size());
      const isa::Operands operands = sampleOperands(row, at, variant);
      if (row.fieldKind() == 'a' && operands.field == isa::kFieldB && row.pattern[0] == '1') {
        continue;  // DAT0=A B and friends assemble to the short 14x form
      }
      ASSERT_EQ(isa::encode(row, operands, at, code), "") << row.mnemonic;
      if (row.isTest()) {
        const isa::Instruction& tail = *isa::rowsFor(variant % 2 ? "GOYES" : "RTNYES").front();
        const int64_t tailAt = address + static_cast<int64_t>(code.size());
        ASSERT_EQ(isa::encode(tail, sampleOperands(tail, tailAt, variant), tailAt, code), "");
      }
      ++instructions;
    }
    std::string text;
    EXPECT_EQ(hexOf(roundTrip(code, address, text)), hexOf(code)) << text;
    EXPECT_EQ(text.find("NIBHEX"), std::string::npos) << text;
  }
  EXPECT_GT(instructions, 16 * 400);
}

TEST(RoundTrip, EncodingsWithoutAMnemonicComeBackAsNibhex) {
  // 806 and 80E do nothing; 1506 is DAT0=A B through the long form; 15 0 8 reaches field P
  // through y & 7; 81B0 does nothing.
  const std::vector<uint8_t> code = {8, 0, 6, 8, 0, 0xE, 1, 5, 0, 6, 1, 5, 0, 8, 8, 1, 0xB, 0};
  std::string text;
  EXPECT_EQ(hexOf(roundTrip(code, 0, text)), hexOf(code)) << text;
  EXPECT_NE(text.find("NIBHEX 806\n"), std::string::npos) << text;
  EXPECT_NE(text.find("NIBHEX 1506\n"), std::string::npos) << text;
  EXPECT_NE(text.find("NIBHEX 1508\n"), std::string::npos) << text;
  EXPECT_NE(text.find("NIBHEX 81B0\n"), std::string::npos) << text;
}

TEST(RoundTrip, JumpTargetsInsideTheRegionGetLabels) {
  const Assembly a =
      assemble("ORG #200\nloop: A=A+1 A\n?A=0 A\nGOYES done\nGOTO loop\ndone: RTN\n");
  ASSERT_TRUE(a.errors.empty()) << joinErrors(a);
  const std::vector<uint8_t> code(a.nibbles.begin() + 0x200, a.nibbles.end());
  std::string text;
  EXPECT_EQ(hexOf(roundTrip(code, 0x200, text)), hexOf(code));
  EXPECT_NE(text.find("L00200:\n        A=A+1 A\n"), std::string::npos) << text;
  EXPECT_NE(text.find("GOYES L0020B"), std::string::npos) << text;
  EXPECT_NE(text.find("GOTO L00200"), std::string::npos) << text;
}

TEST(RoundTrip, RandomNibbleSoup) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 40; ++round) {
    std::vector<uint8_t> code(64 + random() % 2000);
    for (uint8_t& nibble : code) {
      nibble = static_cast<uint8_t>(random() & 0xF);
    }
    const int64_t address = random() % (0x100000 - code.size());
    std::string text;
    ASSERT_EQ(hexOf(roundTrip(code, address, text)), hexOf(code)) << "round " << round;
  }
}

TEST(RoundTrip, ZeroRunsAndJumpsLeavingTheAddressSpace) {
  std::vector<uint8_t> code(300, 0);
  code[0] = 6;  // GOTO with offset -2048 from address 1 leaves the address space below 0
  code[3] = 8;
  code[150] = 5;
  std::string text;
  EXPECT_EQ(hexOf(roundTrip(code, 0, text)), hexOf(code)) << text;
  EXPECT_NE(text.find("GOTO $-2047"), std::string::npos) << text;
  EXPECT_NE(text.find("zero nibbles"), std::string::npos) << text;
}

}  // namespace
}  // namespace tavrel::vasm::test
