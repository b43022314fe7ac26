// Labels, expressions, data directives, INCLUDE and error reporting.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "AssembleHelpers.h"

namespace tavrel::vasm::test {
namespace {

TEST(Labels, ForwardAndBackwardReferencesResolve) {
  const Assembly a = assemble(
      "start:  GOTO end\n"
      "        NIBHEX 0000\n"
      "end:    GOTO start\n");
  ASSERT_TRUE(a.errors.empty()) << joinErrors(a);
  EXPECT_EQ(a.labels.at("start"), 0u);
  EXPECT_EQ(a.labels.at("end"), 8u);
  EXPECT_EQ(hexOf(a.nibbles),
            "6700"
            "0000"
            "67FF");  // +7 from 1, -9 from 9
}

TEST(Labels, LabelAloneOnALineAndEquConstants) {
  const Assembly a = assemble(
      "        ORG #100\n"
      "here:\n"
      "SIZE    EQU there-here\n"
      "        CON(2) SIZE\n"
      "there:  RTN\n");
  ASSERT_TRUE(a.errors.empty()) << joinErrors(a);
  EXPECT_EQ(a.labels.at("here"), 0x100u);
  EXPECT_EQ(a.labels.at("SIZE"), 2u);
  EXPECT_EQ(hexOf(a.nibbles, 0x100), "2001");
}

TEST(Labels, DuplicatesAndUndefinedAreReportedWithLine) {
  EXPECT_EQ(firstError("a: RTN\na: RTN\n"), "input:2: 'a' is already defined");
  EXPECT_EQ(firstError("RTN\nGOTO nowhere\n"), "input:2: undefined symbol 'nowhere'");
  EXPECT_EQ(firstError("X EQU Y\nY EQU X\nCON(1) X\n"),
            "input:3: in EQU 'X': in EQU 'Y': symbol 'X' is defined in terms of itself");
}

TEST(Labels, LongEquChainsAreBoundedNotFatal) {
  std::string source = "CON(1) E0\n";
  for (int i = 0; i < 5000; ++i) {
    source += "E" + std::to_string(i) + " EQU E" + std::to_string(i + 1) + "+0\n";
  }
  source += "E5000 EQU 1\n";
  EXPECT_NE(firstError(source).find("EQU definitions nested more than 256 deep"),
            std::string::npos);
}

TEST(Expressions, OperatorsPrecedenceAndNumberForms) {
  EXPECT_EQ(nibblesOf("CON(2) 2+3*4"), "E0");
  EXPECT_EQ(nibblesOf("CON(2) (2+3)*4"), "41");
  EXPECT_EQ(nibblesOf("CON(2) 100/7-#A"), "40");
  EXPECT_EQ(nibblesOf("CON(2) -1"), "FF");
  EXPECT_EQ(nibblesOf("CON(3) 0x1F+'A'"), "060");
  EXPECT_EQ(nibblesOf("NIBHEX 12\nCON(2) $"), "1220");
}

TEST(Expressions, ErrorsAreClear) {
  EXPECT_EQ(firstError("CON(2) 1/0"), "input:1: division by zero");
  EXPECT_EQ(firstError("CON(2) (1"), "input:1: missing ')'");
  EXPECT_EQ(firstError("CON(2) 12G"), "input:1: bad digit 'G' in number");
  EXPECT_EQ(firstError("CON(16) 99999999999999999999"), "input:1: number too large");
  EXPECT_EQ(firstError("CON(16) #7FFFFFFFFFFFFFFF*2"), "input:1: expression overflows 64 bits");
  EXPECT_EQ(firstError("CON(2) 256"), "input:1: value 256 does not fit in 2 nibbles");
}

TEST(DataDirectives, NibhexConAndStrings) {
  EXPECT_EQ(nibblesOf("NIBHEX 01 23, 4"), "01234");
  EXPECT_EQ(nibblesOf("CON(5) #12345, 1"), "5432110000");
  EXPECT_EQ(nibblesOf("CON(16) -1"), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(nibblesOf("NIBASC \"Hi\""), "8496");
  EXPECT_EQ(nibblesOf("NIBASC \"a;b\\\"\\x7F\" ; comment"), "16B32622F7");
  EXPECT_EQ(firstError("NIBASC \"open"), "input:1: unclosed string");
  EXPECT_EQ(firstError("NIBHEX 12X"), "input:1: NIBHEX: '12X' is not a string of hex digits");
}

TEST(RelativeOffsets, TwoNibbleLimitsAndOnePast) {
  // GOC's offset counts from address 1: targets 1-128 .. 1+127 are reachable.
  EXPECT_EQ(nibblesOf("ORG 200\nGOC $+1-128"), std::string(200, '0') + "408");
  EXPECT_EQ(nibblesOf("GOC $+1+127"), "4F7");
  EXPECT_EQ(firstError("ORG 200\nGOC $+1-129"),
            "input:2: GOC: target out of reach: offset -129, range -128..127");
  EXPECT_EQ(firstError("GOC $+1+128"),
            "input:1: GOC: target out of reach: offset 128, range -128..127");
  EXPECT_EQ(nibblesOf("?A=0 A\nGOYES $+127"), "8A8F7");
  EXPECT_EQ(firstError("?A=0 A\nGOYES $+128"),
            "input:2: GOYES: target out of reach: offset 128, range -128..127");
}

TEST(RelativeOffsets, ThreeAndFourNibbleLimitsAndOnePast) {
  EXPECT_EQ(nibblesOf("GOTO $+1+2047"), "6FF7");
  EXPECT_EQ(firstError("GOTO $+1+2048"),
            "input:1: GOTO: target out of reach: offset 2048, range -2048..2047");
  EXPECT_EQ(nibblesOf("ORG 3000\nGOSUB $+4-2048").substr(3000), "7008");
  EXPECT_EQ(firstError("ORG 3000\nGOSUB $+4-2049"),
            "input:2: GOSUB: target out of reach: offset -2049, range -2048..2047");
  EXPECT_EQ(nibblesOf("GOLONG $+2+32767"), "8CFFF7");
  EXPECT_EQ(firstError("GOLONG $+2+32768"),
            "input:1: GOLONG: target out of reach: offset 32768, range -32768..32767");
  EXPECT_EQ(nibblesOf("ORG 40000\nGOSUBL $+6-32768").substr(40000), "8E0008");
  EXPECT_EQ(firstError("ORG 40000\nGOSUBL $+6-32769"),
            "input:2: GOSUBL: target out of reach: offset -32769, range -32768..32767");
}

TEST(RelativeOffsets, RelDataAndZeroOffsetMeaningReturn) {
  EXPECT_EQ(nibblesOf("NIBHEX 0\nREL(3) $+5, $"), "0500DFF");
  EXPECT_EQ(firstError("REL(2) $+128"),
            "input:1: target out of reach: offset 128, range -128..127");
  EXPECT_EQ(firstError("GOC $+1"),
            "input:1: GOC: target out of reach: offset 0 means return (use RTNYES, RTNC or "
            "RTNNC)");
}

TEST(Errors, InstructionShapeMistakesNameTheLine) {
  EXPECT_EQ(firstError("RTN\nFOO A\n"), "input:2: unknown instruction 'FOO'");
  EXPECT_EQ(firstError("A=A+B"),
            "input:1: bad operands for A=A+B: expected A=A+B P|WP|XS|X|S|M|B|W or A=A+B A");
  EXPECT_EQ(firstError("P= 16"), "input:1: P=: value 16 out of range 0..15");
  EXPECT_EQ(firstError("D0=D0+ 0"), "input:1: D0=D0+: value 0 out of range 1..16");
  EXPECT_EQ(firstError("LC 12"),
            "input:1: give the constant as #hexdigits or write LC(n) expression");
  EXPECT_EQ(firstError("GOVLNG #100000"),
            "input:1: GOVLNG: value #100000 does not fit in 5 nibbles");
}

TEST(Errors, TestsNeedTheirTail) {
  EXPECT_EQ(firstError("?A=B A\nRTN\n"), "input:1: ?A=B must be followed by GOYES or RTNYES");
  EXPECT_EQ(firstError("RTN\n?A=B A\n"), "input:2: ?A=B must be followed by GOYES or RTNYES");
  EXPECT_EQ(firstError("RTN\nGOYES 0\n"), "input:2: GOYES must follow a test instruction (?...)");
}

TEST(Errors, OverlapsAndAddressSpace) {
  EXPECT_EQ(firstError("NIBHEX 1234\nORG 2\nNIBHEX 5"),
            "input:3: overlaps code already placed at address 00002");
  EXPECT_EQ(firstError("ORG #FFFFE\nNIBHEX 123"), "input:2: code runs past address FFFFF");
  EXPECT_EQ(firstError("ORG #100000"), "input:1: ORG address out of range 0..FFFFF");
  EXPECT_EQ(firstError("ORG later\nlater: RTN"), "input:1: undefined symbol 'later'");
}

class IncludeTest : public ::testing::Test {
 protected:
  std::filesystem::path dir_ =
      std::filesystem::temp_directory_path() /
      ("vasm-include-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());

  void SetUp() override { std::filesystem::create_directories(dir_ / "lib"); }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  void write(const std::filesystem::path& name, const std::string& text) {
    std::ofstream(dir_ / name) << text;
  }
};

TEST_F(IncludeTest, BesideTheIncludingFileThenTheIncludeFolder) {
  write("lib/defs.s", "VALUE EQU 7\nINCLUDE \"more.s\"\n");
  write("lib/more.s", "inner: CON(1) VALUE\n");
  const Assembly a = assemble("RTN\nINCLUDE \"defs.s\"\nGOTO inner\n", dir_ / "lib");
  ASSERT_TRUE(a.errors.empty()) << joinErrors(a);
  EXPECT_EQ(hexOf(a.nibbles),
            "01"
            "7"
            "6EFF");
  EXPECT_EQ(a.labels.at("inner"), 2u);
}

TEST_F(IncludeTest, ErrorsInsideAnIncludedFileNameThatFile) {
  write("bad.s", "RTN\nNOSUCH\n");
  const Assembly a = assemble("INCLUDE \"bad.s\"\n", dir_);
  ASSERT_EQ(a.errors.size(), 1u);
  EXPECT_EQ(a.errors[0], (dir_ / "bad.s").string() + ":2: unknown instruction 'NOSUCH'");
}

TEST_F(IncludeTest, MissingFileAndEndlessRecursionAreErrors) {
  EXPECT_EQ(firstError("\nINCLUDE \"absent.s\""), "input:2: INCLUDE: cannot find \"absent.s\"");
  write("self.s", "INCLUDE \"self.s\"\n");
  const Assembly a = assemble("INCLUDE \"self.s\"\n", dir_);
  ASSERT_EQ(a.errors.size(), 1u);
  EXPECT_NE(a.errors[0].find("INCLUDE nested more than 16 deep"), std::string::npos);
}

}  // namespace
}  // namespace tavrel::vasm::test
