// Every mnemonic against the instruction tables of the processor, one group per table.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "AssembleHelpers.h"

namespace tavrel::vasm::test {
namespace {

struct Case {
  const char* source;
  const char* nibbles;
};

void expectAll(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(nibblesOf(c.source), c.nibbles) << c.source;
  }
}

char digit(int value) {
  return "0123456789ABCDEF"[value & 0xF];
}

// A row of 16 operations selected by the nibble that follows `prefix`.
void expectRow(const std::array<const char*, 16>& names, const std::string& operandText,
               const std::string& prefix, const std::string& suffix = "") {
  for (int t = 0; t < 16; ++t) {
    const std::string source = std::string(names[t]) + " " + operandText;
    EXPECT_EQ(nibblesOf(source), prefix + digit(t) + suffix) << source;
  }
}

const std::array<const char*, 16> kArithA1 = {"A=A+B", "B=B+C", "C=C+A", "D=D+C", "A=A+A", "B=B+B",
                                              "C=C+C", "D=D+D", "B=B+A", "C=C+B", "A=A+C", "C=C+D",
                                              "A=A-1", "B=B-1", "C=C-1", "D=D-1"};
const std::array<const char*, 16> kArithA2 = {"A=0",  "B=0",  "C=0",  "D=0", "A=B", "B=C",
                                              "C=A",  "D=C",  "B=A",  "C=B", "A=C", "C=D",
                                              "ABEX", "BCEX", "ACEX", "CDEX"};
const std::array<const char*, 16> kArithB1 = {"A=A-B", "B=B-C", "C=C-A", "D=D-C", "A=A+1", "B=B+1",
                                              "C=C+1", "D=D+1", "B=B-A", "C=C-B", "A=A-C", "C=C-D",
                                              "A=B-A", "B=C-B", "C=A-C", "D=C-D"};
const std::array<const char*, 16> kArithB2 = {"ASL",    "BSL",    "CSL",    "DSL",   "ASR",  "BSR",
                                              "CSR",    "DSR",    "A=-A",   "B=-B",  "C=-C", "D=-D",
                                              "A=-A-1", "B=-B-1", "C=-C-1", "D=-D-1"};
const std::array<const char*, 16> kTestEqual = {"?A=B", "?B=C", "?A=C", "?C=D", "?A#B", "?B#C",
                                                "?A#C", "?C#D", "?A=0", "?B=0", "?C=0", "?D=0",
                                                "?A#0", "?B#0", "?C#0", "?D#0"};
const std::array<const char*, 16> kTestOrder = {
    "?A>B",  "?B>C",  "?C>A",  "?D>C",  "?A<B",  "?B<C",  "?C<A",  "?D<C",
    "?A>=B", "?B>=C", "?C>=A", "?D>=C", "?A<=B", "?B<=C", "?C<=A", "?D<=C"};
const std::array<const char*, 16> kLogic = {"A=A&B", "B=B&C", "C=C&A", "D=D&C", "B=B&A", "C=C&B",
                                            "A=A&C", "C=C&D", "A=A!B", "B=B!C", "C=C!A", "D=D!C",
                                            "B=B!A", "C=C!B", "A=A!C", "C=C!D"};

TEST(Group0Encoding, SingleNibbleOperations) {
  expectAll({{"RTNSXM", "00"},
             {"RTN", "01"},
             {"RTNSC", "02"},
             {"RTNCC", "03"},
             {"SETHEX", "04"},
             {"SETDEC", "05"},
             {"RSTK=C", "06"},
             {"C=RSTK", "07"},
             {"CLRST", "08"},
             {"C=ST", "09"},
             {"ST=C", "0A"},
             {"CSTEX", "0B"},
             {"P=P+1", "0C"},
             {"P=P-1", "0D"},
             {"RTI", "0F"}});
}

TEST(Group0Encoding, LogicalOperationsTakeAnyFieldCode) {
  expectRow(kLogic, "W", "0E7");
  expectAll({{"A=A&B P", "0E00"}, {"C=C!D A", "0EFF"}, {"A=A!B F8", "0E88"}, {"a=a&b xs", "0E20"}});
}

TEST(Group1Encoding, ScratchRegisterMoves) {
  expectAll({{"R0=A", "100"},
             {"R4=A", "104"},
             {"R0=C", "108"},
             {"R4=C", "10C"},
             {"A=R2", "112"},
             {"C=R3", "11B"},
             {"AR1EX", "121"},
             {"CR4EX", "12C"}});
}

TEST(Group1Encoding, PointerMoves) {
  const std::array<const char*, 16> names = {"D0=A",  "D1=A",  "AD0EX", "AD1EX", "D0=C",  "D1=C",
                                             "CD0EX", "CD1EX", "D0=AS", "D1=AS", "AD0XS", "AD1XS",
                                             "D0=CS", "D1=CS", "CD0XS", "CD1XS"};
  expectRow(names, "", "13");
}

TEST(Group1Encoding, MemoryMovesChooseTheShortFormForFieldsAAndB) {
  expectAll({{"DAT0=A A", "140"},
             {"DAT1=A A", "141"},
             {"A=DAT0 A", "142"},
             {"A=DAT1 A", "143"},
             {"DAT0=C A", "144"},
             {"DAT1=C A", "145"},
             {"C=DAT0 A", "146"},
             {"C=DAT1 A", "147"},
             {"DAT0=A B", "148"},
             {"C=DAT1 B", "14F"},
             {"DAT0=A W", "1507"},
             {"C=DAT1 XS", "1572"},
             {"A=DAT0 1", "15A0"},
             {"DAT1=C 16", "15DF"},
             {"DAT0=A 5", "1584"}});
}

TEST(Group1Encoding, PointerArithmeticAndConstants) {
  expectAll({{"D0=D0+ 1", "160"},
             {"D1=D1+ 16", "17F"},
             {"D0=D0- 5", "184"},
             {"D1=D1- 2", "1C1"},
             {"D0=(2) #E4", "194E"},
             {"D0=(4) #1234", "1A4321"},
             {"D0=(5) #80E00", "1B00E08"},
             {"D1=(2) #12", "1D21"},
             {"D1=(4) #ABCD", "1EDCBA"},
             {"D1=(5) #12345", "1F54321"},
             {"D0=(2) #80E00", "1900"}});
}

TEST(Groups2To7Encoding, PointerAndConstantLoads) {
  expectAll({{"P= 0", "20"},
             {"P= 15", "2F"},
             {"LC #5", "305"},
             {"LC #0012F", "34F2100"},
             {"LC(3) 10", "32A00"},
             {"LC #0123456789ABCDEF", "3FFEDCBA9876543210"}});
}

TEST(Groups2To7Encoding, JumpsMeasureFromTheirDocumentedBase) {
  // GOC/GONC/GOTO from the offset's first nibble, GOSUB from the end of the instruction.
  expectAll({{"GOC $+3", "420"},
             {"GONC $+1+16", "501"},
             {"RTNC", "400"},
             {"RTNNC", "500"},
             {"GOTO $+1+#123", "6321"},
             {"GOTO $", "6FFF"},
             {"GOSUB $+4", "7000"},
             {"GOSUB $", "7CFF"}});
}

TEST(Group80Encoding, InputOutputConfigurationAndInterrupts) {
  expectAll({{"OUT=CS", "800"},
             {"OUT=C", "801"},
             {"A=IN", "802"},
             {"C=IN", "803"},
             {"UNCNFG", "804"},
             {"CONFIG", "805"},
             {"SHUTDN", "807"},
             {"INTON", "8080"},
             {"RSI", "80810"},
             {"INTOFF", "808F"},
             {"PC=(A)", "808C"},
             {"PC=(C)", "808E"},
             {"C+P+1", "809"},
             {"RESET", "80A"}});
}

TEST(Group80Encoding, LoadAAndBitOperations) {
  expectAll({{"LA #12345", "8082454321"},
             {"LA(1) 7", "808207"},
             {"ABIT=0 3", "80843"},
             {"ABIT=1 15", "8085F"},
             {"CBIT=0 0", "80880"},
             {"CBIT=1 9", "80899"},
             {"?ABIT=0 1\nRTNYES", "8086100"},
             {"?ABIT=1 2\nRTNYES", "8087200"},
             {"?CBIT=0 3\nRTNYES", "808A300"},
             {"?CBIT=1 4\nRTNYES", "808B400"}});
}

TEST(Group80Encoding, NativeCallsAndPointerNibbleMoves) {
  expectAll({{"NATIVE #2D", "80BD2"},
             {"NATIVE 0", "80B00"},
             {"NATIVE 255", "80BFF"},
             {"C=P 4", "80C4"},
             {"P=C 15", "80DF"},
             {"CPEX 7", "80F7"}});
}

TEST(Group81Encoding, RotationsAndBitShifts) {
  expectAll({{"ASLC", "810"},
             {"BSLC", "811"},
             {"CSLC", "812"},
             {"DSLC", "813"},
             {"ASRC", "814"},
             {"BSRC", "815"},
             {"CSRC", "816"},
             {"DSRC", "817"},
             {"ASRB", "81C"},
             {"BSRB", "81D"},
             {"CSRB", "81E"},
             {"DSRB", "81F"},
             {"ASRB.F W", "81970"},
             {"DSRB.F A", "819F3"}});
}

TEST(Group81Encoding, ConstantArithmetic) {
  expectAll({{"A=A+CON A,1", "818F00"},
             {"B=B+CON W,16", "81871F"},
             {"C=C+CON P,2", "818021"},
             {"D=D+CON X,3", "818332"},
             {"A=A-CON A,5", "818F84"},
             {"D=D-CON M,16", "8185BF"}});
}

TEST(Group81Encoding, ScratchFieldMovesAndProgramCounter) {
  expectAll({{"R0=A.F W", "81A700"}, {"R4=C.F A", "81AF0C"},  {"A=R1.F P", "81A011"},
             {"C=R2.F X", "81A31A"}, {"AR3EX.F B", "81A623"}, {"CR0EX.F S", "81A428"},
             {"RSNEXT", "81B1"},     {"PC=A", "81B2"},        {"PC=C", "81B3"},
             {"A=PC", "81B4"},       {"C=PC", "81B5"},        {"APCEX", "81B6"},
             {"CPCEX", "81B7"},      {"RSLOOP", "81B8"},      {"RSCHECK", "81B9"},
             {"RSEVAL", "81BA"},     {"RSSKIP", "81BB"},      {"RSSKIPS", "81BC"},
             {"RSRETURN", "81BD"},   {"RSCALL", "81BE"}});
}

TEST(Group8HighEncoding, StatusAndPointerTests) {
  expectAll({{"HST=0 15", "82F"},
             {"?HST=0 2\nRTNYES", "83200"},
             {"ST=0 11", "84B"},
             {"ST=1 0", "850"},
             {"?ST=0 4\nRTNYES", "86400"},
             {"?ST=1 15\nRTNYES", "87F00"},
             {"?P# 3\nRTNYES", "88300"},
             {"?P= 14\nRTNYES", "89E00"}});
}

TEST(Group8HighEncoding, FieldATestsAndLongJumps) {
  expectRow(kTestEqual, "A\nRTNYES", "8A", "00");
  expectRow(kTestOrder, "A\nRTNYES", "8B", "00");
  expectAll({{"GOLONG $+2+#1234", "8C4321"},
             {"GOVLNG #12345", "8D54321"},
             {"GOSUBL $+6", "8E0000"},
             {"GOSBVL #0ABCD", "8FDCBA0"}});
}

TEST(Groups9ToFEncoding, FieldTestsUseThreeBitFieldCodes) {
  expectRow(kTestEqual, "W\nRTNYES", "97", "00");
  expectRow(kTestOrder, "P\nRTNYES", "98", "00");
  expectAll({{"?A=B XS\nRTNYES", "92000"}, {"?D<=C M\nRTNYES", "9DF00"}});
}

TEST(Groups9ToFEncoding, ArithmeticRowsWithFieldNibble) {
  expectRow(kArithA1, "W", "A7");
  expectRow(kArithA2, "B", "AE");
  expectRow(kArithB1, "X", "B3");
  expectRow(kArithB2, "S", "BC");
}

TEST(Groups9ToFEncoding, FieldASelectsTheShortGroups) {
  expectRow(kArithA1, "A", "C");
  expectRow(kArithA2, "A", "D");
  expectRow(kArithB1, "A", "E");
  expectRow(kArithB2, "A", "F");
}

TEST(TestTailEncoding, GoyesIsMeasuredFromItsOwnAddress) {
  expectAll({{"?A=B W\nGOYES $+2", "97020"}, {"?A=B A\nGOYES $-3", "8A0DF"}});
}

}  // namespace
}  // namespace tavrel::vasm::test
