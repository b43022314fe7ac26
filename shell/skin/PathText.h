#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "tavrel/Text.h"

namespace tavrel {

// File names cross between wide text and the platform's bytes through UTF-8 with
// replacement characters, never through the standard library's conversions, which throw on
// a lone surrogate or a name that is not UTF-8.
inline std::filesystem::path toPath(std::u16string_view text) {
  return std::filesystem::path(toUtf8(text));
}

inline std::u16string pathText(const std::filesystem::path& path) {
  return fromUtf8(path.native());
}

}  // namespace tavrel
