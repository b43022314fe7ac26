#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

#include "tavrel/command/ICommandCache.h"
#include "tavrel/command/ICommandDispatcher.h"

namespace tavrel {

class CCommandCache final : public ICommandCache {
 public:
  explicit CCommandCache(ICommandDispatcher& dispatcher) : dispatcher_(dispatcher) {}

  void clear() override;
  std::uint16_t id(const std::u16string& line) override;
  void* execute(std::uint16_t id) override;

 private:
  static constexpr std::size_t kIdCount = 0xFFFF;  // ids 1 to 65535; 0 means none

  std::uint16_t takeFreeId();

  ICommandDispatcher& dispatcher_;
  std::mutex mutex_;
  std::unordered_map<std::u16string, std::uint16_t> idsByLine_;
  std::unordered_map<std::uint16_t, std::u16string> linesById_;
  // Ids are handed out in turn and wrap around, skipping those in use, so an id given up
  // by clear() comes back only after all the others.
  std::uint16_t nextId_ = 1;
};

}  // namespace tavrel
