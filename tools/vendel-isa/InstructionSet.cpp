#include "InstructionSet.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>

namespace tavrel::isa {

namespace {

using Names = std::array<std::string_view, 16>;

constexpr Names kArithA1 = {"A=A+B", "B=B+C", "C=C+A", "D=D+C", "A=A+A", "B=B+B", "C=C+C", "D=D+D",
                            "B=B+A", "C=C+B", "A=A+C", "C=C+D", "A=A-1", "B=B-1", "C=C-1", "D=D-1"};
constexpr Names kArithA2 = {"A=0", "B=0", "C=0", "D=0", "A=B",  "B=C",  "C=A",  "D=C",
                            "B=A", "C=B", "A=C", "C=D", "ABEX", "BCEX", "ACEX", "CDEX"};
constexpr Names kArithB1 = {"A=A-B", "B=B-C", "C=C-A", "D=D-C", "A=A+1", "B=B+1", "C=C+1", "D=D+1",
                            "B=B-A", "C=C-B", "A=A-C", "C=C-D", "A=B-A", "B=C-B", "C=A-C", "D=C-D"};
constexpr Names kArithB2 = {"ASL",  "BSL",  "CSL",  "DSL",  "ASR",    "BSR",    "CSR",    "DSR",
                            "A=-A", "B=-B", "C=-C", "D=-D", "A=-A-1", "B=-B-1", "C=-C-1", "D=-D-1"};
constexpr Names kTestEqual = {"?A=B", "?B=C", "?A=C", "?C=D", "?A#B", "?B#C", "?A#C", "?C#D",
                              "?A=0", "?B=0", "?C=0", "?D=0", "?A#0", "?B#0", "?C#0", "?D#0"};
constexpr Names kTestOrder = {"?A>B",  "?B>C",  "?C>A",  "?D>C",  "?A<B",  "?B<C",
                              "?C<A",  "?D<C",  "?A>=B", "?B>=C", "?C>=A", "?D>=C",
                              "?A<=B", "?B<=C", "?C<=A", "?D<=C"};
constexpr Names kLogic = {"A=A&B", "B=B&C", "C=C&A", "D=D&C", "B=B&A", "C=C&B", "A=A&C", "C=C&D",
                          "A=A!B", "B=B!C", "C=C!A", "D=D!C", "B=B!A", "C=C!B", "A=A!C", "C=C!D"};
constexpr Names kPointerMoves = {"D0=A",  "D1=A",  "AD0EX", "AD1EX", "D0=C",  "D1=C",
                                 "CD0EX", "CD1EX", "D0=AS", "D1=AS", "AD0XS", "AD1XS",
                                 "D0=CS", "D1=CS", "CD0XS", "CD1XS"};
constexpr std::array<std::string_view, 8> kMemory = {"DAT0=A", "DAT1=A", "A=DAT0", "A=DAT1",
                                                     "DAT0=C", "DAT1=C", "C=DAT0", "C=DAT1"};
constexpr std::string_view kRegisters = "ABCD";

char hexDigit(int value) {
  return "0123456789ABCDEF"[value & 0xF];
}

class TableBuilder {
 public:
  std::vector<Instruction> rows;

  void add(std::string_view mnemonic, std::string pattern, int fixedField = -1,
           bool lowNibbles = false) {
    rows.push_back({std::string(mnemonic), std::move(pattern), fixedField, lowNibbles});
  }
  void reserve(std::string pattern) { add("", std::move(pattern)); }

  // A 16-row table indexed by the nibble that follows `prefix`.
  void addRow(const Names& names, const std::string& prefix, const std::string& suffix = "",
              int fixedField = -1) {
    for (int t = 0; t < 16; ++t) {
      add(names[t], prefix + hexDigit(t) + suffix, fixedField);
    }
  }

  void addGroup0() {
    const std::array<std::string_view, 14> simple = {
        "RTNSXM", "RTN",   "RTNSC", "RTNCC", "SETHEX", "SETDEC", "RSTK=C",
        "C=RSTK", "CLRST", "C=ST",  "ST=C",  "CSTEX",  "P=P+1",  "P=P-1"};
    for (int i = 0; i < 14; ++i) {
      add(simple[i], std::string("0") + hexDigit(i));
    }
    addRow(kLogic, "0Ef");
    add("RTI", "0F");
  }

  void addScratchMoves() {
    for (int r = 0; r <= 4; ++r) {
      const std::string reg = "R" + std::to_string(r);
      const char low = hexDigit(r);
      const char high = hexDigit(r + 8);
      add(reg + "=A", std::string("10") + low);
      add(reg + "=C", std::string("10") + high);
      add("A=" + reg, std::string("11") + low);
      add("C=" + reg, std::string("11") + high);
      add("A" + reg + "EX", std::string("12") + low);
      add("C" + reg + "EX", std::string("12") + high);
      add(reg + "=A.F", std::string("81Af0") + low);
      add(reg + "=C.F", std::string("81Af0") + high);
      add("A=" + reg + ".F", std::string("81Af1") + low);
      add("C=" + reg + ".F", std::string("81Af1") + high);
      add("A" + reg + "EX.F", std::string("81Af2") + low);
      add("C" + reg + "EX.F", std::string("81Af2") + high);
    }
  }

  void addGroup1() {
    addScratchMoves();
    reserve("10n");
    reserve("11n");
    reserve("12n");
    addRow(kPointerMoves, "13");
    for (int x = 0; x < 8; ++x) {
      add(kMemory[x], std::string("14") + hexDigit(x), kFieldA);
      add(kMemory[x], std::string("14") + hexDigit(x + 8), kFieldB);
    }
    for (int x = 0; x < 8; ++x) {
      add(kMemory[x], std::string("15") + hexDigit(x) + "a");
      add(kMemory[x], std::string("15") + hexDigit(x + 8) + "k");
    }
    reserve("15nn");
    add("D0=D0+", "16m");
    add("D1=D1+", "17m");
    add("D0=D0-", "18m");
    add("D1=D1-", "1Cm");
    add("D0=(2)", "19hh", -1, true);
    add("D0=(4)", "1Ahhhh", -1, true);
    add("D0=(5)", "1Bhhhhh");
    add("D1=(2)", "1Dhh", -1, true);
    add("D1=(4)", "1Ehhhh", -1, true);
    add("D1=(5)", "1Fhhhhh");
  }

  void addGroups2To7() {
    add("P=", "2n");
    add("LC", "3c");
    add("RTNC", "400");
    add("GOC", "4rr");
    add("RTNNC", "500");
    add("GONC", "5rr");
    add("GOTO", "6rrr");
    add("GOSUB", "7sss");
  }

  void addGroup80() {
    const std::array<std::string_view, 6> io = {"OUT=CS", "OUT=C",  "A=IN",
                                                "C=IN",   "UNCNFG", "CONFIG"};
    for (int i = 0; i < 6; ++i) {
      add(io[i], std::string("80") + hexDigit(i));
    }
    reserve("806");
    add("SHUTDN", "807");
    add("INTON", "8080");
    add("RSI", "80810");
    reserve("8081n");
    add("LA", "8082c");
    reserve("8083");
    for (int r = 0; r < 2; ++r) {
      const std::string reg(1, r == 0 ? 'A' : 'C');
      const int base = 4 + 4 * r;
      add(reg + "BIT=0", std::string("808") + hexDigit(base) + "n");
      add(reg + "BIT=1", std::string("808") + hexDigit(base + 1) + "n");
      add("?" + reg + "BIT=0", std::string("808") + hexDigit(base + 2) + "n");
      add("?" + reg + "BIT=1", std::string("808") + hexDigit(base + 3) + "n");
    }
    add("PC=(A)", "808C");
    reserve("808D");
    add("PC=(C)", "808E");
    add("INTOFF", "808F");
    add("C+P+1", "809");
    add("RESET", "80A");
    add("NATIVE", "80Bhh");
    add("C=P", "80Cn");
    add("P=C", "80Dn");
    reserve("80E");
    add("CPEX", "80Fn");
  }

  void addGroup81() {
    for (int r = 0; r < 4; ++r) {
      const std::string reg(1, kRegisters[r]);
      add(reg + "SLC", std::string("81") + hexDigit(r));
      add(reg + "SRC", std::string("81") + hexDigit(r + 4));
      add(reg + "=" + reg + "+CON", std::string("818f") + hexDigit(r) + "m");
      add(reg + "=" + reg + "-CON", std::string("818f") + hexDigit(r + 8) + "m");
      add(reg + "SRB.F", std::string("819f") + hexDigit(r));
      add(reg + "SRB", std::string("81") + hexDigit(r + 12));
    }
    reserve("818nnn");
    reserve("819nn");
    reserve("81Annn");
    const std::array<std::string_view, 7> pcMoves = {"RSNEXT", "PC=A",  "PC=C", "A=PC",
                                                     "C=PC",   "APCEX", "CPCEX"};
    for (int i = 0; i < 7; ++i) {
      add(pcMoves[i], std::string("81B") + hexDigit(i + 1));
    }
    const std::array<std::string_view, 7> runstream = {"RSLOOP",  "RSCHECK",  "RSEVAL", "RSSKIP",
                                                       "RSSKIPS", "RSRETURN", "RSCALL"};
    for (int i = 0; i < 7; ++i) {
      add(runstream[i], std::string("81B") + hexDigit(i + 8));
    }
    reserve("81B0");
    reserve("81BF");
  }

  void addGroup8High() {
    add("HST=0", "82n");
    add("?HST=0", "83n");
    add("ST=0", "84n");
    add("ST=1", "85n");
    add("?ST=0", "86n");
    add("?ST=1", "87n");
    add("?P#", "88n");
    add("?P=", "89n");
    addRow(kTestEqual, "8A", "", kFieldA);
    addRow(kTestOrder, "8B", "", kFieldA);
    add("GOLONG", "8Crrrr");
    add("GOVLNG", "8Dhhhhh");
    add("GOSUBL", "8Essss");
    add("GOSBVL", "8Fhhhhh");
  }

  void addFieldGroups() {
    addRow(kTestEqual, "9a");
    addRow(kTestOrder, "9b");
    addRow(kArithA1, "Aa");
    addRow(kArithA2, "Ab");
    addRow(kArithB1, "Ba");
    addRow(kArithB2, "Bb");
    addRow(kArithA1, "C", "", kFieldA);
    addRow(kArithA2, "D", "", kFieldA);
    addRow(kArithB1, "E", "", kFieldA);
    addRow(kArithB2, "F", "", kFieldA);
  }

  // The two nibbles after a test: an offset to jump to, or 00 to return.
  void addTestTails() {
    add("RTNYES", "00");
    add("GOYES", "rr");
  }
};

std::vector<Instruction> buildTable() {
  TableBuilder builder;
  builder.addGroup0();
  builder.addGroup1();
  builder.addGroups2To7();
  builder.addGroup80();
  builder.addGroup81();
  builder.addGroup8High();
  builder.addFieldGroups();
  builder.addTestTails();
  return std::move(builder.rows);
}

std::string upper(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return result;
}

}  // namespace

char Instruction::fieldKind() const {
  for (char c : pattern) {
    if (c == 'a' || c == 'b' || c == 'f' || c == 'k') {
      return c;
    }
  }
  return 0;
}

char Instruction::operandKind() const {
  for (char c : pattern) {
    if (c == 'n' || c == 'm' || c == 'h' || c == 'r' || c == 's' || c == 'c') {
      return c;
    }
  }
  return 0;
}

int Instruction::baseLength() const {
  return static_cast<int>(pattern.size());
}

const std::vector<Instruction>& instructionTable() {
  static const std::vector<Instruction> table = buildTable();
  return table;
}

std::vector<const Instruction*> rowsFor(std::string_view mnemonic) {
  static const std::map<std::string, std::vector<const Instruction*>, std::less<>> index = [] {
    std::map<std::string, std::vector<const Instruction*>, std::less<>> byName;
    for (const Instruction& row : instructionTable()) {
      if (!row.reserved()) {
        byName[row.mnemonic].push_back(&row);
      }
    }
    return byName;
  }();
  const auto it = index.find(upper(mnemonic));
  return it == index.end() ? std::vector<const Instruction*>{} : it->second;
}

namespace {

bool rowAccepts(const Instruction& row, FieldOperand field, size_t operandCount) {
  const size_t expected = (row.takesField() ? 1 : 0) + (row.operandKind() != 0 ? 1 : 0);
  if (operandCount != expected) {
    return false;
  }
  if (!row.takesField()) {
    return true;
  }
  const bool named = field.kind == FieldOperand::Kind::Name;
  switch (row.fieldKind()) {
    case 'k':
      return field.kind == FieldOperand::Kind::Number;
    case 'a':
    case 'b':
      return named && field.code <= 7;
    case 'f':
      return named;
    default:
      return named && field.code == row.fixedField;
  }
}

}  // namespace

const Instruction* selectRow(std::string_view mnemonic, FieldOperand field, size_t operandCount) {
  for (const Instruction* row : rowsFor(mnemonic)) {
    if (rowAccepts(*row, field, operandCount)) {
      return row;
    }
  }
  return nullptr;
}

std::optional<int> fieldCode(std::string_view name) {
  static const std::array<std::string_view, 8> names = {"P", "WP", "XS", "X", "S", "M", "B", "W"};
  const std::string key = upper(name);
  for (int code = 0; code < 8; ++code) {
    if (key == names[code]) {
      return code;
    }
  }
  if (key == "A") {
    return kFieldA;
  }
  for (int code = 8; code <= 14; ++code) {
    if (key == "F" + std::to_string(code)) {
      return code;
    }
  }
  return std::nullopt;
}

std::string fieldName(int code) {
  static const std::array<std::string_view, 8> names = {"P", "WP", "XS", "X", "S", "M", "B", "W"};
  if (code >= 0 && code < 8) {
    return std::string(names[code]);
  }
  if (code == kFieldA) {
    return "A";
  }
  return "F" + std::to_string(code);
}

}  // namespace tavrel::isa
