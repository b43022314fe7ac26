#pragma once

#include <Qt>
#include <cstdint>

namespace tavrel::gui {

// The desktop virtual-key code that skins name in "win_os_key_msg" for a toolkit key, with
// the punctuation keys of the common US layout; 0 for a key without one.
std::uint32_t virtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers);

}  // namespace tavrel::gui
