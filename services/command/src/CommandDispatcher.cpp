#include "CommandDispatcher.h"

#include <cstdint>
#include <utility>

#include "CommandLine.h"
#include "ErrorLine.h"

namespace tavrel {

namespace {

// Where a value result waits for the caller. One per thread, so commands run on different
// threads never overwrite each other's result.
struct ResultSlot {
  std::int64_t number = 0;
  std::u16string text;
};
thread_local ResultSlot resultSlot;

void* resultPointer(fn::TextCallResult&& result) {
  switch (result.kind) {
    case fn::TextCallResult::Kind::pointer:
      return result.pointer;
    case fn::TextCallResult::Kind::number:
      resultSlot.number = result.number;
      return &resultSlot.number;
    case fn::TextCallResult::Kind::text:
      resultSlot.text = std::move(result.text);
      return &resultSlot.text;
    case fn::TextCallResult::Kind::none:
      break;
  }
  return nullptr;
}

bool succeeded(const fn::TextCallResult& result) {
  switch (result.kind) {
    case fn::TextCallResult::Kind::pointer:
      return result.pointer != nullptr;
    case fn::TextCallResult::Kind::number:
      return result.number != 0;
    case fn::TextCallResult::Kind::text:
    case fn::TextCallResult::Kind::none:
      break;
  }
  return true;
}

}  // namespace

void* CCommandDispatcher::executeLine(const std::u16string& line, int /*flag*/) {
  CommandLine parts = splitCommandLine(line);
  if (parts.name.empty()) {
    writeErrorLine("no command name in line " + quoted(line));
    return nullptr;
  }
  std::shared_ptr<CCommand> command = registry_.find(parts.name);
  if (!command) {
    writeErrorLine("unknown command " + quoted(parts.name) + " in line " + quoted(line));
    return nullptr;
  }
  std::optional<fn::TextCallResult> result =
      command->run(fn::ParameterList(std::move(parts.arguments)));
  if (!result) {
    return nullptr;
  }
  observers_.lineExecuted(parts.name, line);
  return resultPointer(std::move(*result));
}

bool CCommandDispatcher::executeCommand(ICommandBase* command, int /*flag*/) {
  if (command == nullptr) {
    writeErrorLine("no command object to execute");
    return false;
  }
  auto* own = dynamic_cast<CCommand*>(command);
  if (own == nullptr) {
    writeErrorLine(quoted(command->name()) + " was not made by createCommand; not run");
    return false;
  }
  std::optional<fn::TextCallResult> result = own->run(own->parameters());
  return result && succeeded(*result);
}

}  // namespace tavrel
