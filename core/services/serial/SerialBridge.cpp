#include "SerialBridge.h"

#include <cstdio>

#include "BridgeSession.h"
#include "SerialRegisters.h"
#include "os/Tasks.h"
#include "remote/DirectPort.h"

namespace tavrel::core::serial {
namespace {

bool startTask(const std::shared_ptr<BridgeSession>& session, TaskLink& link,
               void (*body)(const std::shared_ptr<BridgeSession>&), const std::u16string& name,
               int priority) {
  os::tag_ThreadInfo* task =
      os::createTask(os::TaskEntry([session, body] { body(session); }),
                     static_cast<std::uint32_t>(priority), 0, 0, TAVREL_DEBUG_LINE, name);
  if (task == nullptr)
    return false;
  link.task = task;
  // A task that has already ended forgot itself before its record was stored here.
  if (os::pollEvent(link.ended) != 0)
    link.task = nullptr;
  return true;
}

void endTask(TaskLink& link) {
  if (link.task.load() == nullptr)
    return;
  os::setEvent(link.signal);
  os::waitEvent(link.ended, static_cast<std::uint32_t>(kTaskEndLimit.count()));
  link.task = nullptr;
}

}  // namespace

SerialBridge::SerialBridge(machine::Machine& m, PortSource ports)
    : machine_(m),
      ports_(std::move(ports)),
      bridgeLock_(os::createMutex()),
      rings_(std::make_shared<BridgeRings>()) {
  rings_->machine = &m;
}

SerialBridge::~SerialBridge() {
  close();
  os::destroyMutex(bridgeLock_);
}

void SerialBridge::restart(bool force) {
  if (remote::directPortHeld())
    return;
  MutexScope bridge(bridgeLock_);
  if (closed_)
    return;
  const LinkRegisters registers = readLinkRegisters(machine_);
  const int port = selectedPort(registers);
  if (!force && port == selected_.load())
    return;
  stopLocked();
  if (port == kNoPort)
    return;
  PortHandle handle = adoptPort(ports_(std::u16string(virtualPortName(port))));
  if (handle == nullptr || !handle->open())
    return;
  selected_ = port;
  openPort_ = port;
  std::size_t unused = 0;
  portControl(*handle, kSetSpeedRequest, lineSpeed(registers.baudCode), unused);
  {
    MutexScope receive(rings_->receiveLock);
    rings_->waitingFor = -1;
  }
  session_ = std::make_shared<BridgeSession>(rings_, std::move(handle));
  if (!startTasks(session_)) {
    stopLocked();
    return;
  }
  publishSignals(*session_);
}

bool SerialBridge::startTasks(const std::shared_ptr<BridgeSession>& session) {
  const int priority = os::getTaskPriority(os::currentTask()) + 1;
  return session->out.createEvents() &&
         startTask(session, session->out, &serialOutTask, u"serialOutTask", priority) &&
         session->in.createEvents() &&
         startTask(session, session->in, &serialInTask, u"serialInTask", priority);
}

void SerialBridge::publishSignals(BridgeSession& session) {
  {
    MutexScope receive(rings_->receiveLock);
    rings_->inSignal = session.in.signal;
    // Room the calculator made before the signal was published is not missed.
    if (rings_->waitingFor >= 0 &&
        rings_->receive.room() >= static_cast<std::size_t>(rings_->waitingFor))
      os::setEvent(session.in.signal);
    if (rings_->receive.size() > 0 && (serialControl(machine_) & kReceiveInterrupts) != 0)
      requestInterrupt(machine_);
  }
  MutexScope transmit(rings_->transmitLock);
  rings_->outSignal = session.out.signal;
  // Bytes the calculator sent before the task was ready go out now.
  if (rings_->transmit.size() > 0)
    os::setEvent(session.out.signal);
}

void SerialBridge::stop() {
  MutexScope bridge(bridgeLock_);
  stopLocked();
}

void SerialBridge::stopLocked() {
  selected_ = kNoPort;
  std::shared_ptr<BridgeSession> session = std::move(session_);
  if (session == nullptr)
    return;
  session->live = false;
  {
    MutexScope receive(rings_->receiveLock);
    rings_->inSignal = nullptr;
  }
  {
    MutexScope transmit(rings_->transmitLock);
    rings_->outSignal = nullptr;
  }
  if (openPort_ != -1) {
    session->port->drain();
    session->port->close();
    openPort_ = -1;
  }
  endTask(session->out);
  endTask(session->in);
}

void SerialBridge::close() {
  MutexScope bridge(bridgeLock_);
  stopLocked();
  closed_ = true;
  MutexScope receive(rings_->receiveLock);
  MutexScope transmit(rings_->transmitLock);
  rings_->machine = nullptr;
}

bool SerialBridge::tasksRunning() {
  MutexScope bridge(bridgeLock_);
  return session_ != nullptr && session_->in.task.load() != nullptr &&
         session_->out.task.load() != nullptr;
}

std::size_t SerialBridge::receivedWaiting() {
  MutexScope receive(rings_->receiveLock);
  return rings_->receive.size();
}

int SerialBridge::waitingFor() {
  MutexScope receive(rings_->receiveLock);
  return rings_->waitingFor;
}

void SerialBridge::transmit(std::uint8_t byte) {
  MutexScope transmit(rings_->transmitLock);
  if (selected_.load() == kNoPort)
    return;
  rings_->transmit.push(&byte, 1);
  if (rings_->transmit.room() > 0 && (serialControl(machine_) & kTransmitInterrupt) != 0)
    requestInterrupt(machine_);
  if (rings_->outSignal != nullptr)
    os::setEvent(rings_->outSignal);
}

std::uint32_t SerialBridge::receiveStatus(std::uint32_t stored) {
  // The interpreter must not wait for a reconfiguration that is under way: when another
  // task holds the bridge lock, that task is already seeing to the port.
  if (os::lockMutex(bridgeLock_, 1, 0) == 0) {
    const bool missing = session_ == nullptr || session_->in.task.load() == nullptr ||
                         session_->out.task.load() == nullptr;
    if (missing)
      restart(false);
    os::unlockMutex(bridgeLock_);
  }
  bool holdsData = false;
  {
    MutexScope receive(rings_->receiveLock);
    holdsData = rings_->receive.size() > 0;
  }
  const std::uint32_t status = (stored & ~1u) | (holdsData ? 1u : 0u);
  std::printf("RCS = %X\n", status);
  return status;
}

std::uint8_t SerialBridge::takeReceived() {
  MutexScope receive(rings_->receiveLock);
  std::uint8_t byte = 0;
  rings_->receive.pop(&byte, 1);
  if (rings_->waitingFor >= 0 && rings_->inSignal != nullptr &&
      rings_->receive.room() >= static_cast<std::size_t>(rings_->waitingFor))
    os::setEvent(rings_->inSignal);
  return byte;
}

}  // namespace tavrel::core::serial
