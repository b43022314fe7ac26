#pragma once

#include <string>

#include "keys/EmulatorKeySet.h"
#include "tavrel/Registry.h"
#include "tavrel/xml/System.h"

namespace tavrel {

// The key set file: settings "DataPath" (default "data") + "/" + "KeyDefFile" (default
// "emu_keys.xml"). A default is written to the settings when its value is absent or empty.
std::u16string keySetFilePath(CRegistry& registry);

// Reads the key set file into keys. A file the parser refuses leaves keys as they were,
// writes one line naming the fault to standard error and gives false.
bool loadKeySet(const xml::System& xml, const std::u16string& path, CEmulatorKeySet& keys);

}  // namespace tavrel
