#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tavrel/command/CommandInterface.h"

namespace tavrel::service {

// One line on standard error, "<service>: <message>": how these services report what they
// cannot do, since command callers do not check a status.
void reportError(std::string_view service, const std::string& message);

// The commands of one service plug-in: registered in import, removed again in closeLibrary
// in the order of registration. Keeps copies of the command service's functions, which stay
// valid while the command service is loaded (it is the first loaded and the last unloaded).
class CServiceCommands {
 public:
  // Empty (isOpen() false) when the record has no command service yet.
  explicit CServiceCommands(const CommandInterface& commands);
  CServiceCommands(const CServiceCommands&) = delete;
  CServiceCommands& operator=(const CServiceCommands&) = delete;

  bool isOpen() const { return !getRegistry_.empty(); }

  // Registers handler (a function object of the framework) under name.
  template <class F>
  void add(const std::u16string& name, F handler) {
    addDetached(name, handler.detach());
  }
  // Removes every command added here; the object is closed afterwards.
  void removeAll();

  ICommandDispatcher* dispatcher() const;
  // Runs a line of another service only when its command is registered: that service may
  // not be loaded, which is no error. Null then, with nothing written anywhere.
  void* executeIfRegistered(const std::u16string& name, const std::u16string& line) const;

 private:
  void addDetached(const std::u16string& name, fn::IFunctionBase* handler);

  fn::Function<fn::ret<ICommandDispatcher*>> getDispatcher_;
  fn::Function<fn::ret<ICommandRegistry*>> getRegistry_;
  fn::Function<fn::ret<ICommandBase*>, std::u16string, fn::IFunctionBase*, fn::IFunctionBase*,
               fn::ParameterList>
      createCommand_;
  std::vector<std::u16string> names_;
};

// The first step of every service's import: opens slot on the command record unless it is
// open already. False when the service must not register anything (no record, imported
// twice, or no command service yet — the last with a line on standard error).
bool openServiceCommands(std::optional<CServiceCommands>& slot, CommandInterface* commands,
                         std::string_view service);

}  // namespace tavrel::service
