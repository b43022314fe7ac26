#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "Command.h"
#include "tavrel/command/ICommandRegistry.h"

namespace tavrel {

// Commands by name. Shared ownership lets a command that is being run on one thread be
// removed on another: it lives until that run ends.
class CCommandRegistry final : public ICommandRegistry {
 public:
  CCommandRegistry() = default;
  CCommandRegistry(const CCommandRegistry&) = delete;
  CCommandRegistry& operator=(const CCommandRegistry&) = delete;

  ICommandBase* get(const std::u16string& name) override;
  bool add(ICommandBase* command) override;
  bool remove(const std::u16string& name) override;

  std::shared_ptr<CCommand> find(const std::u16string& name);

 private:
  std::mutex mutex_;
  std::map<std::u16string, std::shared_ptr<CCommand>> commands_;
};

}  // namespace tavrel
