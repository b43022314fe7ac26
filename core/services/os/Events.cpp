#include "Events.h"

#include <map>
#include <mutex>
#include <new>

namespace tavrel::os {
namespace {

Event* eventOf(tag_EventInfo* event) {
  return event == nullptr || event == kNoEvent ? nullptr : event->event.get();
}

}  // namespace

tag_EventInfo* createEvent(std::uint32_t kind, std::uint32_t) {
  try {
    return new tag_EventInfo{std::make_shared<Event>(kind != kAutoResetEventKind), 0};
  } catch (const std::bad_alloc&) {
    return kNoEvent;
  }
}

int destroyEvent(tag_EventInfo* event) {
  if (eventOf(event) != nullptr)
    delete event;
  return 0;
}

int setEvent(tag_EventInfo* event) {
  if (Event* e = eventOf(event))
    e->set();
  return 0;
}

int resetEvent(tag_EventInfo* event) {
  if (Event* e = eventOf(event))
    e->reset();
  return 0;
}

int pollEvent(tag_EventInfo* event) {
  Event* e = eventOf(event);
  return e != nullptr && e->isSet() ? 1 : 0;
}

int waitEvent(tag_EventInfo* event, std::uint32_t milliseconds) {
  Event* e = eventOf(event);
  if (e == nullptr)
    return 1;
  std::optional<std::chrono::milliseconds> limit;
  if (milliseconds != 0)
    limit = std::chrono::milliseconds(milliseconds);
  return e->wait(limit) ? 0 : 1;
}

std::shared_ptr<Event> openNamedEvent(const std::u16string& name) {
  static std::mutex mutex;
  static std::map<std::u16string, std::weak_ptr<Event>> table;
  std::lock_guard guard(mutex);
  std::weak_ptr<Event>& entry = table[name];
  std::shared_ptr<Event> event = entry.lock();
  if (!event) {
    event = std::make_shared<Event>(true);
    entry = event;
  }
  return event;
}

}  // namespace tavrel::os
