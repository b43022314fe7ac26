// The 8-bit text of the exporter's "A" interface: the character set of the process's locale.
#pragma once

#include <string>
#include <string_view>

namespace tavrel::statexport {

// Characters the locale's character set cannot hold become kDefaultCharacter.
inline constexpr char kDefaultCharacter = '?';

// Wide text to the locale's 8-bit character set.
std::string toCodePage(std::u16string_view text);
// The locale's 8-bit text as wide text; bytes that do not decode become U+FFFD.
std::u16string fromCodePage(std::string_view text);

}  // namespace tavrel::statexport
