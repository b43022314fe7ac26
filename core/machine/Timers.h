// Register side of the two hardware timers. The counting itself belongs to the host, which
// calls timer1Expired / timer2Expired when a timer passes zero.
#pragma once

#include <cstdint>

namespace tavrel::machine {

struct Machine;

inline constexpr uint8_t kTimerRun = 0x01;  // timer 2 control only: runs both timers
inline constexpr uint8_t kTimerInterrupt = 0x02;
inline constexpr uint8_t kTimerWake = 0x04;
inline constexpr uint8_t kTimerExpired = 0x08;

uint32_t readTimer1(Machine& m);  // 4 bits
void writeTimer1(Machine& m, uint32_t value);
uint32_t readTimer2(Machine& m);                 // 32 bits
void writeTimer2(Machine& m, uint32_t value);    // caller has merged partial writes
uint32_t readTimer2ControlRegister(Machine& m);  // with the computed bit 3
void writeTimer1ControlRegister(Machine& m, uint32_t nibble);
void writeTimer2ControlRegister(Machine& m, uint32_t nibble);  // run bit starts/stops both

// Called by the host's timer task.
void timer1Expired(Machine& m);
void timer2Expired(Machine& m);

}  // namespace tavrel::machine
