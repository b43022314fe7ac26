#pragma once

#include "tavrel/command/CommandInterface.h"
#include "tavrel/excpt/ExceptionHub.h"

// Entry points every plug-in exports by these names, with C linkage:
//
//   TAVREL_PLUGIN_EXPORT void import(tavrel::excpt::CExceptionHub* hub,
//                                    tavrel::CommandInterface* commands);
//   TAVREL_PLUGIN_EXPORT void closeLibrary();
//
// import is required and registers the plug-in's commands; closeLibrary is optional and
// removes them again, while the plug-in's code is still loaded.
#define TAVREL_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace tavrel {

using ImportEntry = void(excpt::CExceptionHub* hub, CommandInterface* commands);
using CloseLibraryEntry = void();

inline constexpr const char* kImportExport = "import";
inline constexpr const char* kCloseLibraryExport = "closeLibrary";

}  // namespace tavrel
