// How the table compares two cells when it sorts its rows.
#pragma once

#include <string>

namespace tavrel::statexport {

// Compares the leading integers of two texts, read as a standard text-to-long conversion
// reads them (white space, a sign, decimal digits; 0 when there are none): -1, 0 or 1. So
// "12,345.6" counts as 12.
int compareAsIntegers(const std::string& first, const std::string& second);

}  // namespace tavrel::statexport
