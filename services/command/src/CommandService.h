#pragma once

#include "CommandCache.h"
#include "CommandDispatcher.h"
#include "CommandRegistry.h"

namespace tavrel {

// Everything the plug-in serves, alive from import to closeLibrary.
class CCommandService {
 public:
  CCommandRegistry registry;
  CCommandDispatcher dispatcher{registry};
  CCommandCache cache{dispatcher};
};

}  // namespace tavrel
