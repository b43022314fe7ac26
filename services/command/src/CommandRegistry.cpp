#include "CommandRegistry.h"

#include <utility>

#include "ErrorLine.h"

namespace tavrel {

namespace {

std::shared_ptr<CCommand> adopt(CCommand* command) {
  return std::shared_ptr<CCommand>(command, [](CCommand* owned) { owned->release(); });
}

}  // namespace

ICommandBase* CCommandRegistry::get(const std::u16string& name) {
  return find(name).get();
}

std::shared_ptr<CCommand> CCommandRegistry::find(const std::u16string& name) {
  std::lock_guard lock(mutex_);
  auto found = commands_.find(name);
  return found != commands_.end() ? found->second : nullptr;
}

bool CCommandRegistry::add(ICommandBase* command) {
  if (command == nullptr) {
    return false;
  }
  auto* own = dynamic_cast<CCommand*>(command);
  if (own == nullptr) {
    writeErrorLine("only commands made by createCommand can be added; " + quoted(command->name()) +
                   " released");
    command->release();
    return false;
  }
  std::shared_ptr<CCommand> adopted = adopt(own);
  std::unique_lock lock(mutex_);
  if (commands_.emplace(own->name(), adopted).second) {
    return true;
  }
  lock.unlock();
  writeErrorLine(quoted(own->name()) + " is already registered; the new one is released");
  return false;
}

bool CCommandRegistry::remove(const std::u16string& name) {
  std::shared_ptr<CCommand> removed;
  {
    std::lock_guard lock(mutex_);
    auto found = commands_.find(name);
    if (found == commands_.end()) {
      return false;
    }
    removed = std::move(found->second);
    commands_.erase(found);
  }
  return true;
}

}  // namespace tavrel
