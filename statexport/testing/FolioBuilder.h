// Writes calculator objects and folio images nibble by nibble, the way the calculator lays
// them out, so that tests, benchmarks and fuzz seeds can make any folio they need.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::statexport::testing {

// One nibble per entry, in stream order.
using Nibbles = std::vector<std::uint8_t>;

// Appends a value of `count` nibbles, the first nibble least significant.
void putNibbles(Nibbles& out, std::uint64_t value, unsigned count);
// Two nibbles per byte, the first in the low half; an odd last nibble fills a low half.
std::vector<std::uint8_t> packNibbles(const Nibbles& nibbles);

// The 16-nibble packed form of a decimal text such as "-12345.6" or "1.5E-7" (twelve digits
// kept, further ones dropped).
std::uint64_t packedReal(std::string_view text);

// Bodies without prologs, as array elements are written.
Nibbles realBody(std::string_view text);

// Whole objects, prolog first.
Nibbles real(std::string_view text);
Nibbles bint(std::uint32_t value);
Nibbles xlib(std::uint32_t value);
Nibbles character(char value);
Nibbles string(std::string_view text);
Nibbles name(std::uint32_t prolog, std::string_view text);
// A length-counted object of any prolog with the given body nibbles.
Nibbles counted(std::uint32_t prolog, const Nibbles& body);
// A composite of the given prolog holding whole objects, closed by the end marker.
Nibbles composite(std::uint32_t prolog, const std::vector<Nibbles>& elements);
Nibbles list(const std::vector<Nibbles>& elements);
// An array of element bodies with the given element prolog and dimensions.
Nibbles array(std::uint32_t elementProlog, const std::vector<std::uint32_t>& dimensions,
              const std::vector<Nibbles>& elementBodies);
// A one-dimensional array of reals.
Nibbles realColumn(const std::vector<std::string>& values);

struct Variable {
  std::string name;
  Nibbles value;
};
// A directory holding the variables in memory order, after `libraries` attached-library
// entries.
Nibbles directory(const std::vector<Variable>& variables, unsigned libraries = 0);

// Data column c (1 .. 8) of a statistics folio: an array of reals, or absent.
using FolioColumn = std::optional<std::vector<std::string>>;
// A statistics folio directory: the marker list first in memory, the columns where the
// exporter looks for them, other variables filled with binary integers.
Nibbles statFolio(const std::vector<FolioColumn>& columns, unsigned variableCount = 63);

// A folio file image: "ZRT7Bin", a flag byte, the counted name, the object.
std::vector<std::uint8_t> folioImage(std::string_view name, const Nibbles& object);

}  // namespace tavrel::statexport::testing
