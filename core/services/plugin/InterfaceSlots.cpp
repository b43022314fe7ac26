// Filling the interface record: the OS abstraction, the timer service and the display block,
// with the few slots that answer a constant.
#include <cerrno>

#include "InterfaceRecord.h"
#include "emulation/EmulationControl.h"
#include "os/Events.h"
#include "os/MessageQueue.h"
#include "os/Mutexes.h"
#include "os/Tasks.h"
#include "plugin/CoreCommands.h"
#include "timing/TimerSlots.h"

namespace tavrel::core {
namespace {

// The interface's records and the core's have the same fields; the host never sees the
// core's headers, so they are converted at the slot.
machine::datetime toMachine(const nexo::datetime& time) {
  return {time.year, time.month, time.day, time.hour, time.minute, time.second, time.count};
}

nexo::datetime toInterface(const machine::datetime& time) {
  return {time.year, time.month, time.day, time.hour, time.minute, time.second, time.count};
}

timing::TimerService& timers() {
  return *timerService();
}

void getDateTime(nexo::datetime* time) {
  if (time == nullptr)
    return;
  machine::datetime now{};
  timing::getDateTime(timers(), &now);
  *time = toInterface(now);
}

int setDateTime(nexo::datetime* time) {
  if (time == nullptr)
    return 0;
  machine::datetime wanted = toMachine(*time);
  return timing::setDateTime(timers(), &wanted);
}

int postMessage(nexo::Task task, nexo::tagMessage* message) {
  if (message == nullptr)
    return 1;
  os::tagMessage copy{message->type, message->first, message->second};
  return os::postMessage(task, &copy);
}

int sendMessage(nexo::Task task, unsigned type, int first, void* second) {
  return os::sendMessage(task, type, first, second);
}

int receiveMessage(nexo::tagMessage* message) {
  if (message == nullptr)
    return -1;
  os::tagMessage copy;
  const int result = os::receiveMessage(&copy);
  *message = {copy.type, copy.first, copy.second};
  return result;
}

nexo::Task createTask(nexo::VoidFunction entry, unsigned priority, int stackSize, unsigned reserved,
                      const log::_tagDebugLine& origin, std::u16string name) {
  return os::createTask(std::move(entry), priority, stackSize, reserved, origin, name);
}

void fillTimeAndErrorSlots(nexo::_NEXOInterface& r) {
  r.getDateTime = &getDateTime;
  r.setDateTime = &setDateTime;
  r.setErrorCode = [](int code) { errno = code; };
  r.getErrorCode = [] { return errno; };
  r.slot5 = [](unsigned) {};
  r.slot6 = [](unsigned) { return 0; };
  r.resetMachine = &resetCommand;
}

void fillTaskSlots(nexo::_NEXOInterface& r) {
  r.createTask = &createTask;
  r.endTask = &os::endTask;
  r.getTaskPriority = &os::getTaskPriority;
  r.suspendTask = &os::suspendTask;
  r.resumeTask = &os::resumeTask;
  r.sleepTask = [](nexo::Task task, unsigned ms) { return os::sleepTask(task, ms); };
  r.releaseTask = &os::releaseTask;
  r.currentTask = &os::currentTask;
  r.createMutex = &os::createMutex;
  r.destroyMutex = &os::destroyMutex;
  r.lockMutex = [](os::tag_MutexInfo* m, unsigned noWait, unsigned timeout) {
    return os::lockMutex(m, noWait, timeout);
  };
  r.unlockMutex = &os::unlockMutex;
  r.mutexOwner = &os::mutexOwner;
}

void fillEventAndMessageSlots(nexo::_NEXOInterface& r) {
  r.createEvent = [](unsigned kind, unsigned reserved) { return os::createEvent(kind, reserved); };
  r.destroyEvent = &os::destroyEvent;
  r.setEvent = &os::setEvent;
  r.resetEvent = &os::resetEvent;
  r.pollEvent = &os::pollEvent;
  r.waitEvent = [](os::tag_EventInfo* e, unsigned ms) { return os::waitEvent(e, ms); };
  r.postMessage = &postMessage;
  r.postMessage2 = r.postMessage;
  r.sendMessage = &sendMessage;
  r.sendMessage2 = r.sendMessage;
  r.receiveMessage = &receiveMessage;
  r.slot40 = [](nexo::tagMessage*) { return 1; };
  r.slot41 = [](unsigned char*) { return 1; };
}

void fillTimerSlots(nexo::_NEXOInterface& r) {
  r.startTickTimer = [](unsigned ms) { return timing::startTickTimer(timers(), ms); };
  r.stopTickTimer = [](unsigned id) { return timing::stopTickTimer(timers(), id); };
  r.slot44 = [](nexo::datetime*) { return reinterpret_cast<void*>(std::uintptr_t{1}); };
  r.slot45 = [](void*) { return 0; };
  r.setTimerHandler = [](unsigned timer, nexo::VoidFunction handler) {
    return timing::setTimerHandler(timers(), timer, std::move(handler));
  };
  r.setTimerValue = [](unsigned timer, unsigned value) {
    timing::setTimerValue(timers(), timer, value);
  };
  r.getTimerValue = [](unsigned timer) { return timing::getTimerValue(timers(), timer); };
  r.startTimer = [](unsigned timer) { timing::startTimer(timers(), timer); };
  r.stopTimer = [](unsigned timer) { timing::stopTimer(timers(), timer); };
}

void fillDisplayAndMiscSlots(nexo::_NEXOInterface& r) {
  r.sharedBlock = &sharedBlock;
  r.slot52 = [](unsigned) {};
  r.slot53 = [] { return 0u; };
  r.slot54 = [](unsigned, unsigned, unsigned) { return 0; };
  r.setMainTask = &os::setMainTask;
  r.mainTask = &os::mainTask;
  r.slot62 = [] { return 0u; };
}

}  // namespace

void fillInterfaceRecord() {
  nexo::_NEXOInterface& r = interfaceRecord();
  fillTimeAndErrorSlots(r);
  fillTaskSlots(r);
  fillEventAndMessageSlots(r);
  fillTimerSlots(r);
  fillDisplayAndMiscSlots(r);
  r.displayLock = &displayBlockLock();
}

void emptyInterfaceRecord() {
  nexo::_NEXOInterface& r = interfaceRecord();
  fn::IFunctionBase* hook = r.displayChanged;
  r = nexo::_NEXOInterface{};
  r.displayChanged = hook;
}

}  // namespace tavrel::core
