#pragma once

#include <string>
#include <string_view>

#include "tavrel/Export.h"

namespace tavrel {

// Conversions between the wide text used inside and UTF-8 used at the edges (streams,
// file names handed to the C library). Invalid sequences become U+FFFD.
TAVREL_API std::string toUtf8(std::u16string_view text);
TAVREL_API std::u16string fromUtf8(std::string_view text);

}  // namespace tavrel
