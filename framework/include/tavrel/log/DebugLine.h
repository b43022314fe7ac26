#pragma once

#include <cstdint>
#include <string>

namespace tavrel::log {

// A source position, given when tasks are created so that they can be traced to their origin.
struct _tagDebugLine {
  std::u16string file;
  std::int32_t line = 0;
};

}  // namespace tavrel::log

// The position of the line where it is written.
#define TAVREL_DEBUG_LINE (::tavrel::log::_tagDebugLine{u"" __FILE__, __LINE__})
