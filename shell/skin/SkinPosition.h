#pragma once

#include <string>

#include "tavrel/Registry.h"

namespace tavrel {

// The windowed skin window's position of a skin, "Pos" in "skins\<name>"; (0, 0) when the
// setting is missing or unreadable.
WindowPosition readSkinPosition(const CRegistry& registry, const std::u16string& skinName);

// Writes "Pos", making the keys "skins" and "skins\<name>" when needed. Raises
// excpt::SettingWriteException (8002) when the store refuses.
void writeSkinPosition(CRegistry& registry, const std::u16string& skinName,
                       WindowPosition position);

}  // namespace tavrel
