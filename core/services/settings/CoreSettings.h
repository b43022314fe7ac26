// The core's settings keys: the per-skin and per-ROM records of which state file belongs to
// them, below the core's key in the settings store.
#pragma once

#include <string>
#include <string_view>

#include "tavrel/Registry.h"

namespace tavrel::core {

// The text of "get_rom_type", which also names the ROM key and state files.
inline constexpr std::u16string_view kRomTypeText = u"ZR T6";
inline constexpr std::u16string_view kSkinsKey = u"skins";
inline constexpr std::u16string_view kRomKey = u"ROM";

// The store and the core's key in it: the registry path the shell gives (the application
// key itself or a key below it) or a key relative to the application key. Until import binds
// them, a store of the process's own and the application key are used.
void bindCoreSettings(CRegistry* registry, std::u16string settingsKey);
CRegistry& coreRegistry();
// subKey below the core's key ("" is the core's key).
std::u16string coreKey(std::u16string_view subKey);

// The booted skin name, or "InitialSkin" while none has been booted.
std::u16string currentSkinName();
// "skins\" + the current skin name ("initial" when that is empty too), below the core's key.
std::u16string currentSkinKey();
// "ROM\ZR T6", below the core's key.
std::u16string currentRomKey();
// "ROM\" + "InitialROM", below the core's key: the key cleaned up after a failed open.
std::u16string initialRomKey();

}  // namespace tavrel::core
