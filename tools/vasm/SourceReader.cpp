#include "SourceReader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>

#include "Expression.h"

namespace tavrel::vasm {

namespace {

constexpr int kMaxIncludeDepth = 16;
constexpr size_t kMaxSourceBytes = 16u << 20;

std::string_view trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())) != 0) {
    text.remove_prefix(1);
  }
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())) != 0) {
    text.remove_suffix(1);
  }
  return text;
}

std::string upper(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return result;
}

// Removes a ';' comment, leaving quoted text alone. Returns false on an unclosed quote.
bool stripComment(std::string_view& line) {
  char quote = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quote != 0) {
      if (c == '\\') {
        ++i;
      } else if (c == quote) {
        quote = 0;
      }
    } else if (c == '"') {
      quote = c;
    } else if (c == '\'' && i + 2 < line.size() && line[i + 2] == '\'') {
      i += 2;  // a character constant such as ';' or ','
    } else if (c == ';') {
      line = line.substr(0, i);
      return true;
    }
  }
  return quote == 0;
}

std::vector<std::string> splitOperands(std::string_view text) {
  std::vector<std::string> operands;
  if (trim(text).empty()) {
    return operands;
  }
  bool inString = false;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '\'' && i + 2 < text.size() && text[i + 2] == '\'') {
      i += 2;
    } else if (c == ',') {
      operands.emplace_back(trim(text.substr(start, i - start)));
      start = i + 1;
    }
  }
  operands.emplace_back(trim(text.substr(start)));
  return operands;
}

std::string_view nextToken(std::string_view& rest) {
  rest = trim(rest);
  size_t end = 0;
  while (end < rest.size() && std::isspace(static_cast<unsigned char>(rest[end])) == 0) {
    ++end;
  }
  const std::string_view token = rest.substr(0, end);
  rest = rest.substr(end);
  return token;
}

}  // namespace

bool splitLine(std::string_view line, Statement& statement, std::string& error) {
  if (!stripComment(line)) {
    error = "unclosed string";
    return false;
  }
  std::string_view rest = line;
  std::string_view token = nextToken(rest);
  if (token.empty()) {
    return true;
  }
  if (token.back() == ':') {
    token.remove_suffix(1);
    if (!isSymbolName(token)) {
      error = "bad label name '" + std::string(token) + "'";
      return false;
    }
    statement.label = token;
    token = nextToken(rest);
  } else {
    std::string_view afterFirst = rest;
    if (upper(nextToken(afterFirst)) == "EQU") {
      if (!isSymbolName(token)) {
        error = "bad symbol name '" + std::string(token) + "'";
        return false;
      }
      statement.label = token;
      token = nextToken(rest);
    }
  }
  statement.mnemonic = upper(token);
  statement.operands = splitOperands(rest);
  return true;
}

bool unquote(std::string_view operand, std::string& text, std::string& error) {
  if (operand.size() < 2 || operand.front() != '"' || operand.back() != '"') {
    error = "expected a string in double quotes";
    return false;
  }
  const std::string_view body = operand.substr(1, operand.size() - 2);
  text.clear();
  for (size_t i = 0; i < body.size(); ++i) {
    char c = body[i];
    if (c == '"') {
      error = "unescaped '\"' inside string";
      return false;
    }
    if (c == '\\') {
      if (++i >= body.size()) {
        error = "string ends with '\\'";
        return false;
      }
      switch (body[i]) {
        case 'n':
          c = '\n';
          break;
        case 't':
          c = '\t';
          break;
        case 'r':
          c = '\r';
          break;
        case '0':
          c = '\0';
          break;
        case '\\':
          c = '\\';
          break;
        case '"':
          c = '"';
          break;
        case 'x': {
          const auto hexDigit = [&](size_t at) {
            return at < body.size() && std::isxdigit(static_cast<unsigned char>(body[at])) != 0;
          };
          if (!hexDigit(i + 1) || !hexDigit(i + 2)) {
            error = "\\x needs two hex digits";
            return false;
          }
          c = static_cast<char>(std::stoi(std::string(body.substr(i + 1, 2)), nullptr, 16));
          i += 2;
          break;
        }
        default:
          error = "unknown escape '\\" + std::string(1, body[i]) + "'";
          return false;
      }
    }
    text.push_back(c);
  }
  return true;
}

void SourceReader::error(const std::string& file, int line, const std::string& message) {
  errors.push_back(file + ":" + std::to_string(line) + ": " + message);
}

void SourceReader::read(std::string_view text, const std::string& fileName,
                        std::vector<Statement>& out, int depth) {
  int lineNumber = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++lineNumber;
    Statement statement;
    statement.file = fileName;
    statement.line = lineNumber;
    std::string message;
    if (!splitLine(line, statement, message)) {
      error(fileName, lineNumber, message);
      continue;
    }
    if (statement.label.empty() && statement.mnemonic.empty()) {
      continue;
    }
    if (statement.mnemonic == "INCLUDE") {
      if (!statement.label.empty()) {
        Statement labelOnly = statement;
        labelOnly.mnemonic.clear();
        labelOnly.operands.clear();
        out.push_back(labelOnly);
      }
      include(statement, out, depth);
      continue;
    }
    out.push_back(std::move(statement));
  }
}

void SourceReader::include(const Statement& statement, std::vector<Statement>& out, int depth) {
  if (statement.operands.size() != 1) {
    error(statement.file, statement.line, "INCLUDE takes one file name in double quotes");
    return;
  }
  std::string name;
  std::string message;
  if (!unquote(statement.operands[0], name, message)) {
    error(statement.file, statement.line, "INCLUDE: " + message);
    return;
  }
  if (depth >= kMaxIncludeDepth) {
    error(statement.file, statement.line, "INCLUDE nested more than 16 deep");
    return;
  }
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path path = fs::path(statement.file).parent_path() / name;
  if (fs::path(name).is_relative() && !fs::is_regular_file(path, ec) && !includeDir.empty()) {
    path = includeDir / name;
  }
  if (!fs::is_regular_file(path, ec)) {
    error(statement.file, statement.line, "INCLUDE: cannot find \"" + name + "\"");
    return;
  }
  // file_size is not trusted: files under /proc report 0 and still have content.
  std::ifstream in(path, std::ios::binary);
  std::string content;
  std::array<char, 65536> chunk;
  while (in && content.size() <= kMaxSourceBytes) {
    in.read(chunk.data(), chunk.size());
    content.append(chunk.data(), static_cast<size_t>(in.gcount()));
  }
  if (in.bad()) {
    error(statement.file, statement.line, "INCLUDE: cannot read \"" + name + "\"");
    return;
  }
  if (content.size() > kMaxSourceBytes) {
    error(statement.file, statement.line, "INCLUDE: \"" + name + "\" is larger than 16 MB");
    return;
  }
  read(content, path.string(), out, depth + 1);
}

}  // namespace tavrel::vasm
