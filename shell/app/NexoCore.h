#pragma once

#include <atomic>

#include "keys/KeyMessageSink.h"
#include "tavrel/nexo/NexoInterface.h"

namespace tavrel {

// The core interface record of the booted core: null until a skin has booted one and again
// once that core is unloaded. Key messages go to the core's queue through it.
class CNexoCore final : public IKeyMessageSink {
 public:
  nexo::_NEXOInterface* record() const { return record_.load(); }
  void setRecord(nexo::_NEXOInterface* record) { record_.store(record); }

  // Posted with no task: the core has one queue. Nothing without a core.
  void post(std::uint32_t type, std::uint32_t first, std::uint32_t second) override;

 private:
  std::atomic<nexo::_NEXOInterface*> record_{nullptr};
};

}  // namespace tavrel
