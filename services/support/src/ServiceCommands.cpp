#include "ServiceCommands.h"

#include <cstdio>

#include "tavrel/Text.h"

namespace tavrel::service {

void reportError(std::string_view service, const std::string& message) {
  std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(service.size()), service.data(),
               message.c_str());
  std::fflush(stderr);
}

CServiceCommands::CServiceCommands(const CommandInterface& commands) {
  if (!commands.getRegistry.empty() && !commands.getDispatcher.empty() &&
      !commands.createCommand.empty()) {
    getDispatcher_ = commands.getDispatcher;
    getRegistry_ = commands.getRegistry;
    createCommand_ = commands.createCommand;
  }
}

void CServiceCommands::addDetached(const std::u16string& name, fn::IFunctionBase* handler) {
  if (!isOpen()) {
    releaseResource(handler);
    return;
  }
  ICommandBase* command = createCommand_(name, handler, nullptr, fn::ParameterList{});
  if (command != nullptr && getRegistry_()->add(command)) {
    names_.push_back(name);
  }
}

void CServiceCommands::removeAll() {
  if (isOpen()) {
    for (const std::u16string& name : names_) {
      getRegistry_()->remove(name);
    }
  }
  names_.clear();
  getDispatcher_ = {};
  getRegistry_ = {};
  createCommand_ = {};
}

ICommandDispatcher* CServiceCommands::dispatcher() const {
  return isOpen() ? getDispatcher_() : nullptr;
}

void* CServiceCommands::executeIfRegistered(const std::u16string& name,
                                            const std::u16string& line) const {
  if (!isOpen() || getRegistry_()->get(name) == nullptr) {
    return nullptr;
  }
  return getDispatcher_()->executeLine(line, 1);
}

bool openServiceCommands(std::optional<CServiceCommands>& slot, CommandInterface* commands,
                         std::string_view service) {
  if (commands == nullptr || slot) {
    return false;
  }
  slot.emplace(*commands);
  if (!slot->isOpen()) {
    reportError(service, "loaded before the command service; no commands");
    slot.reset();
    return false;
  }
  return true;
}

}  // namespace tavrel::service
