#include "KeyRepeatFilter.h"

#include <utility>

namespace tavrel::gui {

void CKeyRepeatFilter::released(Key key, std::function<void()> deliver) {
  flush();
  pending_ = Pending{key, std::move(deliver)};
}

bool CKeyRepeatFilter::pressed(Key key) {
  if (pending_ && pending_->key.code == key.code && key.timestamp != 0 &&
      pending_->key.timestamp == key.timestamp) {
    pending_.reset();
    return true;
  }
  flush();
  return false;
}

void CKeyRepeatFilter::flush() {
  if (!pending_)
    return;
  // Taken out first: delivering may lead to another key event.
  std::function<void()> deliver = std::move(pending_->deliver);
  pending_.reset();
  deliver();
}

}  // namespace tavrel::gui
