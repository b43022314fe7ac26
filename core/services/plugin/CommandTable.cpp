#include "CommandTable.h"

#include <string_view>

#include "CoreCommandLink.h"
#include "CoreCommands.h"
#include "emulation/EmulationControl.h"
#include "objects/ObjectCommands.h"
#include "serial/SerialService.h"
#include "settings/FolioExport.h"
#include "state/StateCommands.h"

namespace tavrel::core {
namespace {

// A handler of one of the command kinds: no arguments, one text, two texts, one text to
// bool, none to text.
template <class R, class... P>
fn::IFunctionBase* handler(R (*function)(P...)) {
  return new fn::FreeFunction<R, P...>(function);
}

struct CommandRow {
  std::u16string_view name;
  fn::IFunctionBase* (*makeHandler)();  // a new handler
};

// clang-format off
const CommandRow kCommands[] = {
    {u"boot_nexo_rom",    [] { return handler(&bootNexoRom); }},
    {u"reboot",           [] { return handler(&rebootCommand); }},
    {u"reset",            [] { return handler(&resetCommand); }},
    {u"load_file",        [] { return handler(&objects::loadFileCommand); }},
    {u"load_object",      [] { return handler(&objects::loadObjectCommand); }},
    {u"load_string",      [] { return handler(&objects::loadStringCommand); }},
    {u"store_object",     [] { return handler(&objects::storeObjectCommand); }},
    {u"export_statfolio", [] { return handler(&exportStatFolio); }},
    {u"store_string",     [] { return handler(&objects::storeStringCommand); }},
    {u"save_state",       [] { return handler(&saveStateDialog); }},
    {u"save",             [] { return handler(&save); }},
    {u"restore_state",    [] { return handler(&restoreStateDialog); }},
    {u"savethis",         [] { return handler(&save); }},
    {u"restorethis",      [] { return handler(&restoreThis); }},
    {u"nexo_load_state",  [] { return handler(&nexoLoadState); }},
    {u"nexo_save_state",  [] { return handler(&nexoSaveState); }},
    {u"get_rom_type",     [] { return handler(&getRomType); }},
    {u"get_skin_name",    [] { return handler(&getSkinName); }},
    {u"restart_serial",   [] { return handler(+[] { serial::restartSerial(true); }); }},
    {u"stop_serial",      [] { return handler(&serial::stopSerial); }},
};
// clang-format on

}  // namespace

void registerCoreCommands() {
  const CoreCommandLink& link = commandLink();
  for (const CommandRow& row : kCommands) {
    ICommandRegistry* registry = link.registry();
    ICommandBase* command = link.createCommand(std::u16string(row.name), row.makeHandler());
    if (registry != nullptr && command != nullptr) {
      registry->add(command);
    } else {
      releaseResource(command);
    }
  }
}

void unregisterCoreCommands() {
  const CoreCommandLink& link = commandLink();
  for (const CommandRow& row : kCommands) {
    if (ICommandRegistry* registry = link.registry())
      registry->remove(std::u16string(row.name));
  }
}

}  // namespace tavrel::core
