#pragma once

#include <cstdint>
#include <string>

#include "tavrel/Export.h"

namespace tavrel {

// Short numeric ids for whole command lines, for menu and button ids (which travel in 16
// bits) and key tables. Safe to use from any thread.
class TAVREL_API ICommandCache {
 public:
  // Forgets every line. Ids given out later do not reuse recent ones, so a stale id is far
  // more likely to be unknown than to name another line.
  virtual void clear() = 0;
  // The id of a command line, from 1 to 65535, the same for the same line while it is
  // cached. 0 (never a valid id) when the line is empty or all ids are in use. The line is
  // not checked against the registry: its command may be registered later.
  virtual std::uint16_t id(const std::u16string& line) = 0;
  // Runs the line with that id through the dispatcher with flag 0 and gives its result
  // (ICommandDispatcher::executeLine); null with one line on standard error for an
  // unknown id.
  virtual void* execute(std::uint16_t id) = 0;

 protected:
  ~ICommandCache() = default;
};

}  // namespace tavrel
