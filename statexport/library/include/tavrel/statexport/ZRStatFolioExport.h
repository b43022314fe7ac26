// The exported functions of the ZRStatFolioExport library. Each returns 1 when a statistics
// folio with data was loaded and shown, else 0. "W" text is UTF-16; "A" text is in the 8-bit
// character set of the process's locale, and "W" text is converted to it (characters it
// cannot hold become '?') before use, file names included.
//
// Call them on a thread that may show widgets: the thread of the host's QApplication, or,
// in a host without one, always the same thread (the library makes a QApplication there on
// the first call and keeps it until it is unloaded). Modeless tables stay open after the
// call returns and need the host to keep processing Qt events and to keep the library loaded.
#pragma once

#include <cstdint>

extern "C" {

// A folio file, shown in a modal table.
std::uint8_t ExportStatFolioW(const char16_t* path);
std::uint8_t ExportStatFolioA(const char* path);
// A folio file, shown in a table that stays open; closed tables are reused.
std::uint8_t ExportStatFolioModelessW(const char16_t* path);
std::uint8_t ExportStatFolioModelessA(const char* path);
// A folio received from a calculator, shown in a modal table.
std::uint8_t ExportStatFolioUSB();
// One object (two nibbles per byte, the first in the low half) of length bytes, titled name
// ("Untitled" when null or empty) unless the folio's own name replaces it. The buffer is only
// read during the call.
std::uint8_t ExportStatFolioDataW(const void* data, std::int32_t length, const char16_t* name);
std::uint8_t ExportStatFolioDataA(const void* data, std::int32_t length, const char* name);
}

// The types of the exports, for hosts that look them up by name.
using ExportStatFolioWFn = std::uint8_t (*)(const char16_t*);
using ExportStatFolioAFn = std::uint8_t (*)(const char*);
using ExportStatFolioUSBFn = std::uint8_t (*)();
using ExportStatFolioDataWFn = std::uint8_t (*)(const void*, std::int32_t, const char16_t*);
using ExportStatFolioDataAFn = std::uint8_t (*)(const void*, std::int32_t, const char*);
