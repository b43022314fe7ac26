#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "tavrel/Export.h"

namespace tavrel::xml {

// The attributes of one element, valid only during the start-of-element call that gets it.
// Names are matched exactly (case-sensitive).
class TAVREL_API IXMLAttributeList {
 public:
  virtual bool contains(const std::u16string& name) const = 0;
  // The value, entities resolved; empty when the attribute is absent.
  virtual std::u16string value(const std::u16string& name) const = 0;
  virtual std::size_t count() const = 0;
  virtual std::u16string nameAt(std::size_t index) const = 0;
  virtual std::u16string valueAt(std::size_t index) const = 0;

 protected:
  ~IXMLAttributeList() = default;
};

// A decimal number with an optional sign, blanks (space, tab, line ends) allowed around it.
// None for anything else, including values outside the 32-bit signed range.
inline std::optional<std::int32_t> parseDecimal(std::u16string_view text) {
  auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
  while (!text.empty() && blank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && blank(text.back())) {
    text.remove_suffix(1);
  }
  bool negative = false;
  if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
    negative = text.front() == u'-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 10) {
    return std::nullopt;
  }
  std::int64_t magnitude = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') {
      return std::nullopt;
    }
    magnitude = magnitude * 10 + (c - u'0');
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

// A numeric attribute; a missing one counts as 0, and so does one that is not a decimal
// number (a description file is read as far as it makes sense, never refused for one value).
inline std::int32_t decimalAttribute(const IXMLAttributeList& attributes,
                                     const std::u16string& name) {
  return parseDecimal(attributes.value(name)).value_or(0);
}

}  // namespace tavrel::xml
