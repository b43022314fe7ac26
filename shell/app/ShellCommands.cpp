#include "app/ShellCommands.h"

namespace tavrel {

CShellCommandSet::~CShellCommandSet() {
  // The command service may be gone already; it then released the commands itself.
  if (commands_.getRegistry.empty()) {
    return;
  }
  if (ICommandRegistry* registry = commands_.getRegistry()) {
    for (const std::u16string& name : names_) {
      registry->remove(name);
    }
  }
}

void CShellCommandSet::addHandler(const std::u16string& name, fn::IFunctionBase* handler) {
  if (commands_.createCommand.empty() || commands_.getRegistry.empty()) {
    releaseResource(handler);
    return;
  }
  ICommandBase* command = commands_.createCommand(name, handler, nullptr, fn::ParameterList{});
  ICommandRegistry* registry = commands_.getRegistry();
  if (command != nullptr && registry != nullptr && registry->add(command)) {
    names_.push_back(name);
  }
}

void* runLine(const CommandInterface& commands, const std::u16string& line, int flag) {
  if (commands.getDispatcher.empty()) {
    return nullptr;
  }
  ICommandDispatcher* dispatcher = commands.getDispatcher();
  return dispatcher != nullptr ? dispatcher->executeLine(line, flag) : nullptr;
}

void runCachedId(const CommandInterface& commands, std::uint16_t id) {
  if (id == 0 || commands.getCache.empty()) {
    return;
  }
  if (ICommandCache* cache = commands.getCache()) {
    cache->execute(id);
  }
}

}  // namespace tavrel
