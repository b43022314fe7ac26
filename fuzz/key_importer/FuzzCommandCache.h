#pragma once

#include <map>
#include <string>

#include "tavrel/command/ICommandCache.h"

namespace tavrel::fuzz {

// Gives ids the way the command service does (1, 2, ... per distinct line) without running
// anything, so importers file their regions and PC keys as in the program.
class CFuzzCommandCache final : public ICommandCache {
 public:
  void clear() override { ids_.clear(); }
  std::uint16_t id(const std::u16string& line) override {
    auto [entry, added] = ids_.emplace(line, static_cast<std::uint16_t>(ids_.size() % 65535 + 1));
    return entry->second;
  }
  void* execute(std::uint16_t) override { return nullptr; }

 private:
  std::map<std::u16string, std::uint16_t> ids_;
};

}  // namespace tavrel::fuzz
