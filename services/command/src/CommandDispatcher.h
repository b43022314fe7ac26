#pragma once

#include "CommandRegistry.h"
#include "tavrel/command/ICommandDispatcher.h"

namespace tavrel {

class CCommandDispatcher final : public ICommandDispatcher {
 public:
  explicit CCommandDispatcher(CCommandRegistry& registry) : registry_(registry) {}

  void* executeLine(const std::u16string& line, int flag) override;
  bool executeCommand(ICommandBase* command, int flag) override;

 private:
  CCommandRegistry& registry_;
};

}  // namespace tavrel
