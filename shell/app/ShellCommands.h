#pragma once

#include <string>
#include <vector>

#include "tavrel/command/CommandInterface.h"

namespace tavrel {

// Commands a shell object registers for its life: removed again, in the order they were
// added, when the set goes.
class CShellCommandSet {
 public:
  explicit CShellCommandSet(CommandInterface& commands) : commands_(commands) {}
  ~CShellCommandSet();
  CShellCommandSet(const CShellCommandSet&) = delete;
  CShellCommandSet& operator=(const CShellCommandSet&) = delete;

  // Nothing happens without a command service; a name taken already keeps its first command.
  template <class R, class... P>
  void add(const std::u16string& name, fn::BasicFunction<R, fn::detail::TypeList<P...>> handler) {
    addHandler(name, handler.detach());
  }

 private:
  void addHandler(const std::u16string& name, fn::IFunctionBase* handler);

  CommandInterface& commands_;
  std::vector<std::u16string> names_;
};

// Runs a command line; null when the command service is not loaded or the line gives none.
void* runLine(const CommandInterface& commands, const std::u16string& line, int flag = 1);

// Runs a command line whose result is an object of the service that answers it.
template <class T>
T* objectOf(const CommandInterface& commands, const std::u16string& line) {
  return static_cast<T*>(runLine(commands, line));
}

// Runs the command line with that cache id; nothing for id 0 or without a cache.
void runCachedId(const CommandInterface& commands, std::uint16_t id);

}  // namespace tavrel
