#pragma once

#include <string>
#include <string_view>

namespace tavrel {

// The text without the blanks (space, tab, line ends) around it.
inline std::u16string trimBlanks(std::u16string_view text) {
  constexpr std::u16string_view kBlanks = u" \t\r\n";
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::u16string_view::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(kBlanks);
  return std::u16string(text.substr(first, last - first + 1));
}

}  // namespace tavrel
