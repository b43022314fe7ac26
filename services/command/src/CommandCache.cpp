#include "CommandCache.h"

#include "ErrorLine.h"

namespace tavrel {

void CCommandCache::clear() {
  std::lock_guard lock(mutex_);
  idsByLine_.clear();
  linesById_.clear();
}

std::uint16_t CCommandCache::id(const std::u16string& line) {
  if (line.empty()) {
    writeErrorLine("an empty command line gets no id");
    return 0;
  }
  std::unique_lock lock(mutex_);
  auto found = idsByLine_.find(line);
  if (found != idsByLine_.end()) {
    return found->second;
  }
  if (linesById_.size() == kIdCount) {
    lock.unlock();
    writeErrorLine("all command ids are in use; " + quoted(line) + " gets none");
    return 0;
  }
  std::uint16_t id = takeFreeId();
  idsByLine_.emplace(line, id);
  linesById_.emplace(id, line);
  return id;
}

std::uint16_t CCommandCache::takeFreeId() {
  auto advance = [this] { nextId_ = nextId_ == kIdCount ? 1 : nextId_ + 1; };
  while (linesById_.contains(nextId_)) {
    advance();
  }
  std::uint16_t id = nextId_;
  advance();
  return id;
}

void* CCommandCache::execute(std::uint16_t id) {
  std::u16string line;
  {
    std::lock_guard lock(mutex_);
    if (auto found = linesById_.find(id); found != linesById_.end()) {
      line = found->second;
    }
  }
  if (line.empty()) {
    writeErrorLine("no command line has the id " + std::to_string(id));
    return nullptr;
  }
  return dispatcher_.executeLine(line, 0);
}

}  // namespace tavrel
