#pragma once

#include <QByteArray>
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace tavrel::xml {

using Attribute = std::pair<std::u16string, std::u16string>;

struct ElementStart {
  std::u16string name;
  std::vector<Attribute> attributes;
};

struct ElementEnd {
  std::u16string name;
  std::u16string text;
};

using DocumentEvent = std::variant<ElementStart, ElementEnd>;

struct ParseFault {
  std::int64_t line = 0;
  std::int64_t column = 0;
  std::u16string reason;
};

// Reads a whole document into its element events, depth first, each end carrying the text
// directly inside its element. A document that is not well-formed gives only the fault, so
// a caller never acts on part of a broken file.
std::variant<std::vector<DocumentEvent>, ParseFault> readDocumentEvents(const QByteArray& bytes);

}  // namespace tavrel::xml
