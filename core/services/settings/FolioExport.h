// The binding to the statistics folio exporter, loaded for each export and freed after it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Machine.h"

namespace tavrel::core {

// "export_statfolio": the statistics folio of the running calculator, shown by the exporter.
void exportStatFolio();

// The system variable that holds the address of the statistics folio.
inline constexpr std::uint32_t kStatFolioPointer = 0x80711;
// The folio's object image, two nibbles a byte, low nibble first; empty when the object there
// is too small to be one. Raises the store failure when the calculator names no folio.
std::vector<std::uint8_t> statFolioImage(const machine::Machine& m);

// Hands an object image (two nibbles a byte, low nibble first) to the exporter's
// ExportStatFolioDataW; false when the exporter or its export is missing.
bool exportFolio(const std::uint8_t* image, std::size_t bytes);

}  // namespace tavrel::core
