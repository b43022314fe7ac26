// What the machine needs from the program around it. Called only on rare paths (every 256
// instructions, SHUTDN, I/O registers), never per instruction.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace tavrel::machine {

struct Machine;

// Peripherals: a calendar time stamp of the real-time clock. For the machine, count holds the
// sub-second ticks (0..8191, 8192 a second) that belong to the time stamp.
struct datetime {
  uint16_t year;
  uint8_t month;  // 1..12
  uint8_t day;    // 1..31
  uint8_t hour;
  uint8_t minute;
  uint8_t second;
  uint32_t count;
  bool operator==(const datetime&) const = default;
};

// Peripherals: timer 1 counts at 16 Hz (4 bits), timer 2 at 8192 Hz (32 bits).
enum class HardwareTimer { kTimer1, kTimer2 };

// Peripherals: an event of the host's task service (manual reset).
class HostEvent {
 public:
  static constexpr uint32_t kNoTimeLimit = 0xFFFFFFFF;
  virtual ~HostEvent() = default;
  virtual void signal() = 0;
  virtual bool isSignalled() const = 0;
  // Waits until signalled or until timeoutMs has passed; true when signalled.
  virtual bool wait(uint32_t timeoutMs) = 0;
};

class MachineHost {
 public:
  virtual ~MachineHost() = default;

  // Speed control, once every 256 instructions.
  virtual void throttleHook() = 0;
  // Right after throttleHook: a point where the host may hold the interpreter (suspension).
  virtual void suspendPoint() {}

  // The processor lock: held by the interpreter while it executes, released while it sleeps
  // in SHUTDN and when it returns. acquireProcessor blocks until the lock is held.
  virtual void acquireProcessor() = 0;
  virtual void releaseProcessor() = 0;

  // The wake-up event (auto-reset). SHUTDN waits on it; keys, timers and serial signal it.
  virtual void waitForWakeUp() = 0;
  virtual void signalWakeUp() = 0;

  // A message (type, first, second) for the core's message queue.
  virtual void postMessage(uint32_t type, uint32_t first, uint32_t second) = 0;

  // runMachine has returned (the stopped event).
  virtual void machineStopped() = 0;

  // Serial registers of the register block.
  virtual void serialSettingsChanged() = 0;  // register 10, nibbles 1A or 1B written
  // Register 11 as read: `stored` is the receive control nibble as kept in the record.
  virtual uint32_t readReceiveStatus(uint32_t stored) = 0;
  virtual uint32_t takeReceivedByte() = 0;      // registers 14-15
  virtual void transmitByte(uint8_t byte) = 0;  // registers 16-17

  // --- Peripherals: timers, clock, display, helper tasks, native-call services ---

  // The hardware timers' counting. getTimerValue reads a stopped timer's kept value or a
  // running timer's count; setTimerValue reloads it either way. The host calls
  // timer1Expired / timer2Expired (Timers.h) when a running timer passes zero.
  virtual uint32_t getTimerValue(HardwareTimer timer) = 0;
  virtual void setTimerValue(HardwareTimer timer, uint32_t value) = 0;
  virtual void startTimer(HardwareTimer timer) = 0;  // only when stopped
  virtual void stopTimer(HardwareTimer timer) = 0;   // only when running, keeps the value

  // The real-time clock in local time with the clock offset applied; count = sub-second
  // ticks. setClock moves the clock offset so that the clock reads `time` now.
  virtual datetime getClock() = 0;
  virtual void setClock(const datetime& time) = 0;

  // The LCD image or the annunciators changed (the display hook). Runs with no lock held.
  virtual void displayChanged() = 0;
  // Whether the serial link of the remote control is open (annunciator bit 5 stays set).
  virtual bool serialLinkOpen() = 0;

  // Short-lived helper tasks (key wait, beep) and their events.
  virtual std::shared_ptr<HostEvent> createEvent() = 0;
  virtual void startShortTask(const char* name, std::function<void()> body) = 0;
  // The core-wide beep event; the message loop also signals it for key code 123.
  virtual HostEvent& beepEvent() = 0;
  // Native call 0B: suspend the interpreter for that long, from a helper task; returns at once.
  virtual void pauseProcessor(uint32_t milliseconds) = 0;

  // Native calls served by the remote link and the data-logger application: 50 (open the
  // remote link), 51 (close it), 56 (send A's low byte on serial port 3), 90 (Datavane
  // service). Each sets the registers the call defines, carry included.
  virtual void openRemoteLink(Machine& m) = 0;
  virtual void closeRemoteLink(Machine& m) = 0;
  virtual void sendDirectByte(Machine& m) = 0;
  virtual void datavaneService(Machine& m) = 0;
};

}  // namespace tavrel::machine
