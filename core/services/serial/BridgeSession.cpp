#include "BridgeSession.h"

namespace tavrel::core::serial {
namespace {

bool isEvent(os::tag_EventInfo* event) {
  return event != nullptr && event != os::kNoEvent;
}

}  // namespace

BridgeRings::BridgeRings() : receiveLock(os::createMutex()), transmitLock(os::createMutex()) {}

BridgeRings::~BridgeRings() {
  os::destroyMutex(receiveLock);
  os::destroyMutex(transmitLock);
}

TaskLink::~TaskLink() {
  if (isEvent(signal))
    os::destroyEvent(signal);
  if (isEvent(ended))
    os::destroyEvent(ended);
}

bool TaskLink::createEvents() {
  ended = os::createEvent(0, 0);
  signal = os::createEvent(os::kAutoResetEventKind, 0);
  return isEvent(ended) && isEvent(signal);
}

}  // namespace tavrel::core::serial
