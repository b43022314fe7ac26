#include "tavrel/statexport/NQSArray.h"
#include "tavrel/statexport/NQSDir.h"
#include "tavrel/statexport/StatFolioData.h"

namespace tavrel::statexport {

const NQSArray* StatFolioData::column(std::size_t j) const {
  if (!valid_) {
    return nullptr;
  }
  const auto* folio = nqsCast<NQSDir>(root_);
  const NQSDir* node = folio ? folio->node(j + kFirstColumnChainIndex) : nullptr;
  return node ? nqsCast<NQSArray>(node->value()) : nullptr;
}

void StatFolioData::appendCellText(std::string& text, std::size_t row, std::size_t column) const {
  const NQSArray* data = this->column(column);
  if (data && row < data->elementCount() && data->elements().at(row)) {
    data->elements().at(row)->toText(text);
  }
}

std::string StatFolioData::cellText(std::size_t row, std::size_t column) const {
  std::string text;
  appendCellText(text, row, column);
  return text;
}

}  // namespace tavrel::statexport
