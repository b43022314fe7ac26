// The statistics table as the table dialog lays it out: a header row and a header column
// around the data cells.
#pragma once

#include <cstddef>
#include <string>

#include "tavrel/statexport/StatFolioData.h"

namespace tavrel::statexport {

// Rows and columns of the grid including the headers; data that is not valid counts as one
// row and one column.
std::size_t tableRowCount(const StatFolioData& data);
std::size_t tableColumnCount(const StatFolioData& data);

// "n" in the corner, "Column %d" across the top, "Row %d" down the side, cell texts inside.
std::string tableCellText(const StatFolioData& data, std::size_t row, std::size_t column);

}  // namespace tavrel::statexport
