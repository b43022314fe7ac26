#include "tavrel/statexport/TableLayout.h"

namespace tavrel::statexport {

std::size_t tableRowCount(const StatFolioData& data) {
  return (data.valid() ? data.rowCount() : 1) + std::size_t{1};
}

std::size_t tableColumnCount(const StatFolioData& data) {
  return (data.valid() ? data.columnCount() : 1) + std::size_t{1};
}

std::string tableCellText(const StatFolioData& data, std::size_t row, std::size_t column) {
  if (row == 0) {
    return column == 0 ? "n" : "Column " + std::to_string(column);
  }
  if (column == 0) {
    return "Row " + std::to_string(row);
  }
  return data.cellText(row - 1, column - 1);
}

}  // namespace tavrel::statexport
