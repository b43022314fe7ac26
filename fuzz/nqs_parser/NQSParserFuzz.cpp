// Feeds every input both as a received folio file image and as a bare object, and reads
// back everything a table or a CSV file would show.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tavrel/statexport/FolioImage.h"
#include "tavrel/statexport/NQSParser.h"
#include "tavrel/statexport/StatFolioData.h"
#include "tavrel/statexport/TableLayout.h"

namespace {

using namespace tavrel::statexport;

class QuietReporter final : public IErrorReporter {
 public:
  void reportError(const std::string&) override {}
};

// Alternates between the folios offered, so both ways through the choice get exercised.
class AlternatingChooser final : public IFolioChooser {
 public:
  std::optional<int> chooseFolio(const std::vector<std::string>& titles) override {
    ++calls_;
    if (calls_ % 3 == 0) {
      return std::nullopt;
    }
    return static_cast<int>(calls_ % (titles.size() + 2)) - 1;
  }

 private:
  int calls_ = 0;
};

std::size_t readTable(const StatFolioData& data) {
  std::size_t total = 0;
  for (std::size_t row = 0; row < tableRowCount(data); ++row) {
    for (std::size_t column = 0; column < tableColumnCount(data); ++column) {
      total += tableCellText(data, row, column).size();
    }
  }
  return total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  QuietReporter reporter;
  AlternatingChooser chooser;
  StatFolioData data(chooser, reporter);
  volatile std::size_t sink = 0;

  data.loadFromReceived(bytes, size);
  sink = sink + readTable(data);
  data.loadFromData(bytes, size, "Fuzz");
  sink = sink + readTable(data);

  if (const NQSObjectRef bare = parseBareObject(bytes, size)) {
    sink = sink + bare->text().size() + bare->clone()->text().size();
  }
  std::string name;
  int error = 0;
  if (const NQSObjectRef root = readFolioImage(bytes, size, name, error)) {
    sink = sink + root->text().size();
  }
  return 0;
}
