#pragma once

#include <string>

namespace tavrel {

// One line on standard error, prefixed with the service's name: the service's only way to
// report a line or call that cannot run, since callers do not check a status.
void writeErrorLine(const std::string& message);

// A command name or line as it appears in error lines: UTF-8 in double quotes.
std::string quoted(const std::u16string& text);

}  // namespace tavrel
