// A loaded statistics folio: where it came from, whether it holds data, and its cells.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "tavrel/statexport/HostInterfaces.h"
#include "tavrel/statexport/NQSObject.h"

namespace tavrel::statexport {

class NQSArray;

class StatFolioData {
 public:
  // Data columns are the arrays at these chain indexes of the folio directory.
  static constexpr std::size_t kFirstColumnChainIndex = 6;
  static constexpr std::size_t kMaxColumns = 8;

  StatFolioData(IFolioChooser& chooser, IErrorReporter& reporter)
      : chooser_(chooser), reporter_(reporter) {}

  // Each load starts afresh and returns true when a statistics folio with data is ready;
  // a failure has been reported to the host by then (except a receive that brought no
  // object).
  bool loadFromFile(const std::string& path);
  // One bare object; an empty name titles the folio "Untitled".
  bool loadFromData(const std::uint8_t* bytes, std::size_t length, const std::string& name);
  // A folio file image received from a calculator.
  bool loadFromReceived(const std::uint8_t* bytes, std::size_t length);

  // Narrows the root to the statistics folio inside it, asking the chooser among several.
  void locateFolio();
  // Locates and checks the folio and counts its rows and columns; message says why not.
  bool checkFolio(std::string& message);
  // Sets and returns the valid flag: the root has the shape of a statistics folio.
  bool isStatFolio();

  // Data column j (0-based), or null.
  const NQSArray* column(std::size_t j) const;
  // The text of one cell (both 0-based); empty where the column or element does not exist.
  std::string cellText(std::size_t row, std::size_t column) const;
  void appendCellText(std::string& text, std::size_t row, std::size_t column) const;

  const std::string& title() const { return title_; }
  const NQSObjectRef& root() const { return root_; }
  std::uint32_t rowCount() const { return rowCount_; }
  std::uint32_t columnCount() const { return columnCount_; }
  bool valid() const { return valid_; }

 private:
  void startLoad();
  void useTitle(const std::string& name);

  IFolioChooser& chooser_;
  IErrorReporter& reporter_;
  std::string title_;
  NQSObjectRef root_;
  std::uint32_t rowCount_ = 0;
  std::uint32_t columnCount_ = 0;
  bool valid_ = false;
};

}  // namespace tavrel::statexport
