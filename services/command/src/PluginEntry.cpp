#include <algorithm>
#include <atomic>
#include <vector>

#include "Command.h"
#include "CommandService.h"
#include "ErrorLine.h"
#include "tavrel/command/PluginEntry.h"

namespace tavrel {
namespace {

// Read by the interface functions on any thread; written only by import and closeLibrary,
// which the loader serialises.
std::atomic<CCommandService*> service{nullptr};
// The records this plug-in filled: their functions run code of this library and have to be
// emptied before it is unloaded.
std::vector<CommandInterface*> filledInterfaces;

ICommandDispatcher* currentDispatcher() {
  CCommandService* current = service.load();
  return current != nullptr ? &current->dispatcher : nullptr;
}

ICommandRegistry* currentRegistry() {
  CCommandService* current = service.load();
  return current != nullptr ? &current->registry : nullptr;
}

ICommandCache* currentCache() {
  CCommandService* current = service.load();
  return current != nullptr ? &current->cache : nullptr;
}

}  // namespace
}  // namespace tavrel

TAVREL_PLUGIN_EXPORT void import(tavrel::excpt::CExceptionHub* /*hub*/,
                                 tavrel::CommandInterface* commands) {
  using namespace tavrel;
  if (commands == nullptr) {
    writeErrorLine("import was given no command interface to fill");
    return;
  }
  if (service.load() == nullptr) {
    service.store(new CCommandService);
  }
  commands->getDispatcher = &currentDispatcher;
  commands->getRegistry = &currentRegistry;
  commands->getCache = &currentCache;
  commands->createCommand = &makeCommand;
  if (std::find(filledInterfaces.begin(), filledInterfaces.end(), commands) ==
      filledInterfaces.end()) {
    filledInterfaces.push_back(commands);
  }
}

TAVREL_PLUGIN_EXPORT void closeLibrary() {
  using namespace tavrel;
  for (CommandInterface* commands : filledInterfaces) {
    commands->getDispatcher = {};
    commands->getRegistry = {};
    commands->getCache = {};
    commands->createCommand = {};
  }
  filledInterfaces.clear();
  delete service.exchange(nullptr);
}
