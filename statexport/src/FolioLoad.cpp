#include "tavrel/statexport/FolioImage.h"
#include "tavrel/statexport/NQSParser.h"
#include "tavrel/statexport/StatFolioData.h"

namespace tavrel::statexport {

void StatFolioData::startLoad() {
  // Nothing of an earlier load may survive a failed one: counts and the valid flag go too,
  // and the old tree is released before the new one is read.
  title_.clear();
  root_.reset();
  rowCount_ = 0;
  columnCount_ = 0;
  valid_ = false;
}

void StatFolioData::useTitle(const std::string& name) {
  title_ = name.empty() ? "Untitled" : name;
}

bool StatFolioData::loadFromFile(const std::string& path) {
  std::string name;
  int error = kFolioNoError;
  startLoad();
  root_ = readFolioFile(path, name, error);
  std::string message = folioLoadErrorText(error);
  if (root_) {
    useTitle(name);
    message.clear();
    if (checkFolio(message)) {
      return true;
    }
  }
  reporter_.reportError(message.empty() ? "Could not read folio.\nPlease try again." : message);
  return false;
}

bool StatFolioData::loadFromData(const std::uint8_t* bytes, std::size_t length,
                                 const std::string& name) {
  startLoad();
  root_ = parseBareObject(bytes, length);
  std::string message;
  if (root_) {
    useTitle(name);
    if (checkFolio(message)) {
      return true;
    }
  }
  reporter_.reportError(message.empty() ? "Could not read folio." : message);
  return false;
}

bool StatFolioData::loadFromReceived(const std::uint8_t* bytes, std::size_t length) {
  std::string name;
  int error = kFolioNoError;
  startLoad();
  root_ = readFolioImage(bytes, length, name, error);
  if (error != kFolioNoError) {
    reporter_.reportError(folioLoadErrorText(error));
    return false;
  }
  if (!root_) {
    return false;
  }
  useTitle(name);
  std::string message;
  if (checkFolio(message)) {
    return true;
  }
  reporter_.reportError(message);
  return false;
}

}  // namespace tavrel::statexport
