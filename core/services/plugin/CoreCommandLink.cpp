#include "CoreCommandLink.h"

#include "emulation/EmulationControl.h"

namespace tavrel::core {

void CoreCommandLink::bind(const CommandInterface& commands) {
  settingsKeyPath_ = commands.settingsKeyPath;
  functions_.getDispatcher = commands.getDispatcher;
  functions_.getRegistry = commands.getRegistry;
  functions_.getCache = commands.getCache;
  functions_.createCommand = commands.createCommand;
}

void CoreCommandLink::unbind() {
  functions_ = CommandInterface{};
  settingsKeyPath_.clear();
}

ICommandRegistry* CoreCommandLink::registry() const {
  return functions_.getRegistry ? functions_.getRegistry() : nullptr;
}

ICommandDispatcher* CoreCommandLink::dispatcher() const {
  return functions_.getDispatcher ? functions_.getDispatcher() : nullptr;
}

ICommandBase* CoreCommandLink::createCommand(const std::u16string& name,
                                             fn::IFunctionBase* handler) const {
  if (!functions_.createCommand) {
    releaseResource(handler);
    return nullptr;
  }
  return functions_.createCommand(name, handler, nullptr, fn::ParameterList{});
}

void* CoreCommandLink::executeLine(const std::u16string& line, int flag) const {
  ICommandDispatcher* service = dispatcher();
  return service != nullptr ? service->executeLine(line, flag) : nullptr;
}

CoreCommandLink& commandLink() {
  static CoreCommandLink link;
  return link;
}

}  // namespace tavrel::core
