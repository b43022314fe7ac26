// The statistics table as comma-separated text.
#pragma once

#include <string>

#include "tavrel/statexport/HostInterfaces.h"
#include "tavrel/statexport/StatFolioData.h"

namespace tavrel::statexport {

enum class CsvSaveResult { kSaved, kNothingToSave, kFailed };

// One line per row, "\r\n"-terminated: the row's cells separated by ", ", with neither a
// header line nor quoting. A folio without data writes nothing; a failed write is reported
// and leaves an existing file at path untouched.
CsvSaveResult saveCsv(const StatFolioData& data, const std::string& path, IErrorReporter& reporter);

}  // namespace tavrel::statexport
