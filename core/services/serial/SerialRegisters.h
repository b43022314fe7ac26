// The calculator's serial registers as the bridge reads them: which virtual port the
// calculator has chosen, the line speed, the interrupt enables, and the interrupt request.
// Other tasks than the interpreter read them, so every access is atomic.
#pragma once

#include <cstdint>
#include <string_view>

namespace tavrel::machine {
struct Machine;
}

namespace tavrel::core::serial {

// Virtual port indexes; 0 (and 4) have no port.
inline constexpr int kNoPort = 0;
inline constexpr int kRs232Port = 1;
inline constexpr int kUsbPort = 2;
inline constexpr int kIrdaPort = 3;

// "RS232", "USB", "IrDA" for 1..3; empty for any other index.
std::u16string_view virtualPortName(int index);

// Register 10, serial I/O control.
inline constexpr std::uint8_t kSerialEnabled = 8;
inline constexpr std::uint8_t kReceiveInterrupts = 1 | 2;
inline constexpr std::uint8_t kTransmitInterrupt = 4;
// Register nibble 1A: infrared chosen. Register nibble 1B: the wire port is RS232, not USB.
inline constexpr std::uint8_t kInfraredChosen = 4;
inline constexpr std::uint8_t kWireIsRs232 = 2;

struct LinkRegisters {
  std::uint8_t control = 0;      // register 10
  std::uint8_t linkControl = 0;  // nibble 1A
  std::uint8_t link = 0;         // nibble 1B
  std::uint8_t baudCode = 0;     // nibble 0D
};

LinkRegisters readLinkRegisters(machine::Machine& m);
std::uint8_t serialControl(machine::Machine& m);

// Infrared unless the interface is enabled and infrared is not chosen; then RS232 or USB.
int selectedPort(const LinkRegisters& registers);
// Bits per second for a baud-rate code; codes past the table run at 115200.
std::uint32_t lineSpeed(std::uint32_t baudCode);

// Sets the pending interrupt and wakes a sleeping processor.
void requestInterrupt(machine::Machine& m);

}  // namespace tavrel::core::serial
