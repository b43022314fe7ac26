// The core's named commands, in registration order.
#pragma once

namespace tavrel::core {

// Registers every command that is built, in table order; results are not checked.
void registerCoreCommands();
// Unregisters them by name, in the same order.
void unregisterCoreCommands();

}  // namespace tavrel::core
