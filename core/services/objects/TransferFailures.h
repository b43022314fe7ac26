// The object transfer's failures, raised as the framework's coded exceptions: load failures
// (5001-5006) report in a box titled "ZR Calvane Error: Load Object", store failures
// (5007-5010) in one titled "ZR Calvane Error: Store Object".
#pragma once

#include "objects/ObjectFiles.h"

namespace tavrel::core::objects {

// 5001 not enough memory, 5002 empty file, 5003 string file too large, 5004 object file too
// large, 5005 not a valid object.
[[noreturn]] void raiseLoadFailure(LoadFailure failure);
// 5002: a file that cannot be opened or read has nothing to load either.
[[noreturn]] void raiseCannotReadFile();
// 5006: the clipboard holds no text.
[[noreturn]] void raiseClipboardNotString();

// 5007 no stack or no object at level 1, 5008 no valid object there, 5009 not a string,
// 5010 the object file or the clipboard could not be written.
[[noreturn]] void raiseNoObject();
[[noreturn]] void raiseNoValidObject();
[[noreturn]] void raiseNotString();
[[noreturn]] void raiseCannotWriteFile();
[[noreturn]] void raiseCannotWriteClipboard();

}  // namespace tavrel::core::objects
