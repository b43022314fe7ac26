#pragma once

#include "tavrel/Export.h"

namespace tavrel {

// The process-wide list of destroy callbacks behind TSingleton. Callbacks run newest first:
// at process exit (each in the place a static object completed at its registration would be
// destroyed), when runExitCallbacks() is called, or, for the callbacks whose code lies in a
// plug-in, just before that plug-in is unloaded (CDynamicLibrary does this).
using ExitCallback = void (*)(void* context);

TAVREL_API void registerExitCallback(ExitCallback callback, void* context);
// Runs every registered callback, newest first, including ones registered meanwhile.
TAVREL_API void runExitCallbacks();
// Runs, newest first, the callbacks whose code lies in the module of a platform library
// handle (as returned by dlopen).
TAVREL_API void runExitCallbacksOfModule(void* moduleHandle);

}  // namespace tavrel
