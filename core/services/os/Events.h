// The event operations handed to the host and used by the core: opaque tag_EventInfo
// records over Event, and the process-wide table of named events ("nexoevent", ...).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Event.h"

namespace tavrel::os {

struct tag_EventInfo {
  std::shared_ptr<Event> event;
  std::uint32_t word = 0;
};

// What createEvent gives when no event could be made. The other operations treat it like
// null, so a caller that passes it on by mistake gets "nothing done" rather than a crash.
inline tag_EventInfo* const kNoEvent = reinterpret_cast<tag_EventInfo*>(~std::uintptr_t{0});

inline constexpr std::uint32_t kAutoResetEventKind = 8;

// kind 8 makes an auto-reset event, any other kind a manual-reset one; new events are clear.
tag_EventInfo* createEvent(std::uint32_t kind, std::uint32_t reserved);
int destroyEvent(tag_EventInfo* event);
int setEvent(tag_EventInfo* event);
int resetEvent(tag_EventInfo* event);
// 1 when set at this moment; 0 otherwise or for null.
int pollEvent(tag_EventInfo* event);
// 0 when the event became set, 1 on time-out or for null; 0 milliseconds means no limit.
int waitEvent(tag_EventInfo* event, std::uint32_t milliseconds);

// The manual-reset event of that name: the living one when some part of the core still holds
// it, otherwise a new, clear one. An event lives while anybody holds it.
std::shared_ptr<Event> openNamedEvent(const std::u16string& name);

}  // namespace tavrel::os
