#include "tavrel/statexport/CsvWriter.h"

#include "tavrel/statexport/ReplacingFile.h"

namespace tavrel::statexport {

CsvSaveResult saveCsv(const StatFolioData& data, const std::string& path,
                      IErrorReporter& reporter) {
  const std::uint32_t rows = data.rowCount();
  const std::uint32_t columns = data.columnCount();
  if (!data.valid() || rows == 0 || columns == 0) {
    return CsvSaveResult::kNothingToSave;
  }
  ReplacingFile file(path);
  if (!file.open()) {
    reporter.reportError(file.error());
    return CsvSaveResult::kFailed;
  }
  std::string line;
  for (std::uint32_t row = 0; row < rows; ++row) {
    line.clear();
    data.appendCellText(line, row, 0);
    for (std::uint32_t column = 1; column < columns; ++column) {
      line += ", ";
      data.appendCellText(line, row, column);
    }
    line += "\r\n";
    file.write(line);
  }
  if (!file.commit()) {
    reporter.reportError(file.error());
    return CsvSaveResult::kFailed;
  }
  return CsvSaveResult::kSaved;
}

}  // namespace tavrel::statexport
