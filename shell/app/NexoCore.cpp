#include "app/NexoCore.h"

namespace tavrel {

void CNexoCore::post(std::uint32_t type, std::uint32_t first, std::uint32_t second) {
  nexo::_NEXOInterface* core = record_.load();
  if (core == nullptr || core->postMessage.empty()) {
    return;
  }
  // The third word of a key message is always 0, which is the record's null pointer.
  nexo::tagMessage message{type, static_cast<std::int32_t>(first),
                           reinterpret_cast<void*>(static_cast<std::uintptr_t>(second))};
  core->postMessage(nullptr, &message);
}

}  // namespace tavrel
