// Folio file images: "ZRT7Bin", a flag byte, a counted name, then one object as nibbles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "tavrel/statexport/NQSObject.h"

namespace tavrel::statexport {

enum FolioLoadError : int {
  kFolioNoError = 0,
  kFolioCannotOpen = 1,
  kFolioBadSize = 2,
  kFolioNotAFolio = 3,
};

// The message for an error code; empty for codes without one.
std::string folioLoadErrorText(int error);

// Parses an image held in memory. None without an error for a buffer of 12 bytes or less or
// an object that cannot be read; error 3 for a wrong header. name receives the image's name.
NQSObjectRef readFolioImage(const std::uint8_t* bytes, std::size_t length, std::string& name,
                            int& error);

// Reads a whole file and parses it as an image: error 1 when it cannot be opened or read,
// error 2 for 13 bytes or less or 4 GiB or more.
NQSObjectRef readFolioFile(const std::string& path, std::string& name, int& error);

}  // namespace tavrel::statexport
