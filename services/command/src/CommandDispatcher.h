#pragma once

#include "CommandObservers.h"
#include "CommandRegistry.h"
#include "tavrel/command/ICommandDispatcher.h"

namespace tavrel {

class CCommandDispatcher final : public ICommandDispatcher {
 public:
  explicit CCommandDispatcher(CCommandRegistry& registry) : registry_(registry) {}

  void* executeLine(const std::u16string& line, int flag) override;
  bool executeCommand(ICommandBase* command, int flag) override;
  void addObserver(ICommandObserver* observer) override { observers_.add(observer); }
  void removeObserver(ICommandObserver* observer) override { observers_.remove(observer); }

 private:
  CCommandRegistry& registry_;
  CCommandObservers observers_;
};

}  // namespace tavrel
