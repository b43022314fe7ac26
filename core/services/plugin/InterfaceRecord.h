// The core's interface record and the display block inside its reach.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>

#include "tavrel/nexo/NexoInterface.h"

namespace tavrel::core {

// The one record, made with every slot empty on first use.
nexo::_NEXOInterface& interfaceRecord();
// Fills the provided slots, in slot order.
void fillInterfaceRecord();
// Empties every slot again (their code lives in this module), leaving the host's hook.
void emptyInterfaceRecord();

// The 1600-byte display block: zero-filled on first use, kept for the life of the core.
unsigned char* sharedBlock();
// The display lock handed to the host in the record.
std::mutex& displayBlockLock();
// Copies a new LCD image into the display block under the display lock, then calls the
// host's displayChanged with no lock held.
void publishDisplay(const std::uint8_t* image, std::size_t bytes);
// Clears the annunciator bits of the display block (a machine is about to start).
void clearAnnunciators();

}  // namespace tavrel::core
