// The core's machine commands: booting, rebooting and resetting the calculator, and the two
// texts it reports.
#pragma once

#include <string>

namespace tavrel::core {

// "boot_nexo_rom": '#' in the skin name stands for a blank.
void bootNexoRom(std::u16string romFile, std::u16string skin);
void rebootCommand();          // "reboot"
void resetCommand();           // "reset"; also the interface's resetMachine
std::u16string getRomType();   // "get_rom_type"
std::u16string getSkinName();  // "get_skin_name"

}  // namespace tavrel::core
