#include <algorithm>
#include <exception>
#include <vector>

#include "tavrel/statexport/NQSArray.h"
#include "tavrel/statexport/NQSComposite.h"
#include "tavrel/statexport/NQSDir.h"
#include "tavrel/statexport/NQSScalars.h"
#include "tavrel/statexport/StatFolioData.h"

namespace tavrel::statexport {
namespace {

// The library reference that opens the list at the front of every statistics folio.
constexpr std::uint32_t kStatFolioXlib = 0x130F1;
// The directory that holds the calculator's folios, when there is one.
constexpr char kFolioDirName[] = "'foliodir";
// A real statistics folio has its fixed variables plus the data columns.
constexpr std::uint32_t kMinFolioVariables = 63;

const char kNotAFolioMessage[] =
    "The data does not appear to contain a Statistics folio.\nPlease try again.";
const char kEmptyFolioMessage[] = "This Statistics folio appears to be empty.\nPlease try again.";

struct FolioCandidate {
  std::string title;
  NQSObjectRef value;
};

// The value of the variable first in memory is a list whose first element is the folio's
// library reference.
bool hasStatFolioMark(const NQSDir& folio) {
  const NQSDir* first = folio.firstInMemory();
  const auto* list = first ? nqsCast<NQSList>(first->value()) : nullptr;
  const auto* xlib = list ? dynamic_cast<const NQSXlib*>(list->front()) : nullptr;
  return xlib && xlib->value() == kStatFolioXlib;
}

std::vector<FolioCandidate> findFolios(const NQSDir& scope) {
  std::vector<FolioCandidate> found;
  const NQSDir* node = &scope;
  for (std::uint32_t i = 0; node && i < scope.variableCount(); ++i, node = node->next()) {
    const auto* folio = nqsCast<NQSDir>(node->value());
    if (folio && hasStatFolioMark(*folio)) {
      const std::string name = node->name().name();
      found.push_back({name.empty() ? name : name.substr(1), node->value()});
    }
  }
  return found;
}

}  // namespace

void StatFolioData::locateFolio() {
  const auto* rootDir = nqsCast<NQSDir>(root_);
  if (!rootDir) {
    return;
  }
  try {
    const NQSDir* scope = rootDir;
    for (const NQSDir* node = rootDir; node; node = node->next()) {
      const auto* folioDir = nqsCast<NQSDir>(node->value());
      if (folioDir && node->name().name() == kFolioDirName) {
        scope = folioDir;
        break;
      }
    }
    const std::vector<FolioCandidate> folios = findFolios(*scope);
    if (folios.empty()) {
      return;
    }
    std::size_t taken = 0;
    if (folios.size() > 1) {
      std::vector<std::string> titles;
      for (const FolioCandidate& folio : folios) {
        titles.push_back(folio.title);
      }
      const std::optional<int> choice = chooser_.chooseFolio(titles);
      if (!choice) {
        return;
      }
      taken = static_cast<std::size_t>(std::clamp<int>(*choice, 0, int(folios.size()) - 1));
    }
    NQSObjectRef folio = folios[taken].value->clone();
    title_ = folios[taken].title;
    root_ = std::move(folio);
  } catch (const std::exception&) {
    // Out of memory while cloning: keep what was loaded.
  }
}

bool StatFolioData::isStatFolio() {
  const auto* folio = nqsCast<NQSDir>(root_);
  valid_ = folio && folio->variableCount() >= kMinFolioVariables && hasStatFolioMark(*folio);
  return valid_;
}

bool StatFolioData::checkFolio(std::string& message) {
  message.clear();
  rowCount_ = 0;
  columnCount_ = 0;
  locateFolio();
  if (!isStatFolio()) {
    message = kNotAFolioMessage;
    return false;
  }
  for (std::size_t j = 0; j < kMaxColumns; ++j) {
    const NQSArray* data = column(j);
    const std::size_t count = data ? data->elementCount() : 0;
    rowCount_ = std::max(rowCount_, static_cast<std::uint32_t>(count));
    if (count != 0) {
      columnCount_ = static_cast<std::uint32_t>(j + 1);
    }
  }
  if (rowCount_ == 0 || columnCount_ == 0) {
    message = kEmptyFolioMessage;
    valid_ = false;
    return false;
  }
  return true;
}

}  // namespace tavrel::statexport
