#pragma once

#include "lang/LangPack.h"
#include "loader/LibraryManager.h"
#include "tavrel/Registry.h"
#include "tavrel/command/CommandInterface.h"
#include "tavrel/xml/System.h"

namespace tavrel {

// What the shell's objects share: the settings store, the command service, the loaded
// plug-ins, the XML service and the language texts. Everything outlives the objects given it.
struct ShellContext {
  CRegistry& registry;
  CommandInterface& commands;
  CLibraryManager& libraries;
  xml::System& xml;
  CLangPack& lang;
};

}  // namespace tavrel
