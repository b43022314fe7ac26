#include "tavrel/statexport/FolioImage.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "tavrel/statexport/FileContents.h"
#include "tavrel/statexport/NQSParser.h"

namespace tavrel::statexport {
namespace {

constexpr char kMagic[] = "ZRT7Bin";
constexpr std::size_t kMagicSize = 7;
constexpr std::size_t kNameLengthOffset = 8;
constexpr std::size_t kMinImageSize = 13;
constexpr std::uintmax_t kMaxFileSize = (std::uintmax_t{1} << 32) - 1;

}  // namespace

std::string folioLoadErrorText(int error) {
  switch (error) {
    case kFolioCannotOpen:
      return "Could not open file.";
    case kFolioBadSize:
      return "File is too small or too large to be a statistics folio.";
    case kFolioNotAFolio:
      return "File does not appear to be a T7/T8 folio.";
    default:
      return {};
  }
}

NQSObjectRef readFolioImage(const std::uint8_t* bytes, std::size_t length, std::string& name,
                            int& error) {
  error = kFolioNoError;
  name.clear();
  if (!bytes || length < kMinImageSize) {
    return nullptr;
  }
  if (std::memcmp(bytes, kMagic, kMagicSize) != 0 || bytes[kMagicSize] == 0) {
    error = kFolioNotAFolio;
    return nullptr;
  }
  // A name that claims more bytes than the image holds is cut short; no object follows it.
  const std::size_t nameStart = kNameLengthOffset + 1;
  const std::size_t nameLength =
      std::min<std::size_t>(bytes[kNameLengthOffset], length - nameStart);
  name.assign(reinterpret_cast<const char*>(bytes + nameStart), nameLength);
  const std::size_t objectStart = nameStart + nameLength;
  return parseBareObject(bytes + objectStart, length - objectStart);
}

NQSObjectRef readFolioFile(const std::string& path, std::string& name, int& error) {
  name.clear();
  error = kFolioNoError;
  try {
    FileContents contents = readFileContents(path, kMinImageSize + 1, kMaxFileSize);
    switch (contents.status) {
      case FileReadStatus::kCannotOpen:
        error = kFolioCannotOpen;
        return nullptr;
      case FileReadStatus::kBadSize:
        error = kFolioBadSize;
        return nullptr;
      case FileReadStatus::kOk:
        break;
    }
    return readFolioImage(contents.bytes.data(), contents.bytes.size(), name, error);
  } catch (const std::exception&) {
    // A file too big for the memory at hand cannot be read.
    error = kFolioCannotOpen;
    return nullptr;
  }
}

}  // namespace tavrel::statexport
