// Splits assembly source into statements and splices INCLUDEd files in place.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::vasm {

struct Statement {
  std::string file;
  int line = 0;
  std::string label;     // defined at this statement's address (or by EQU); may be empty
  std::string mnemonic;  // upper case; may be empty for a line with only a label
  std::vector<std::string> operands;  // comma-separated, trimmed, as written
};

struct SourceReader {
  std::filesystem::path includeDir;
  std::vector<std::string> errors;

  // Appends the statements of `text` (named `fileName`; relative INCLUDEs are looked up beside
  // it first, then in includeDir).
  void read(std::string_view text, const std::string& fileName, std::vector<Statement>& out,
            int depth = 0);

 private:
  void include(const Statement& statement, std::vector<Statement>& out, int depth);
  void error(const std::string& file, int line, const std::string& message);
};

// One line without its comment, split into label, mnemonic and operands. Returns false and
// sets `error` on a malformed line.
bool splitLine(std::string_view line, Statement& statement, std::string& error);

// Unquotes a string operand written "..." with the escapes \" \\ \n \t \r \0 \xHH.
bool unquote(std::string_view operand, std::string& text, std::string& error);

}  // namespace tavrel::vasm
