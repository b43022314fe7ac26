// Writing and reading the machine's state over open files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavrel::core {

class ICoreAccess;

// The whole state file as bytes, taken while emulation is paused. Empty before boot.
std::vector<std::uint8_t> snapshotState(ICoreAccess& core);

// Writes a state to the open descriptor fd; false when a write fails.
bool writeState(int fd, ICoreAccess& core);

// Loads a state from the open descriptor fd whose 8-byte magic has been read and compared.
// A name of another calculator is refused silently; a damaged file is refused with the
// "Invalid state file" box. Either way nothing changes.
bool readState(int fd, ICoreAccess& core);

// A state file of this name belongs to us: it is the skin's name or holds the ROM type.
bool acceptsStateName(const std::u16string& name, const std::u16string& skinName);

}  // namespace tavrel::core
