#include "SerialRegisters.h"

#include <array>
#include <atomic>

#include "Machine.h"

namespace tavrel::core::serial {
namespace {

std::uint8_t load(std::uint8_t& field) {
  return std::atomic_ref<std::uint8_t>(field).load(std::memory_order_relaxed);
}

constexpr std::array<std::uint32_t, 13> kSpeeds{2400,  2400,  2400,  2400,  4800,  4800,  9600,
                                                14400, 14400, 19200, 38400, 57600, 115200};

}  // namespace

std::u16string_view virtualPortName(int index) {
  switch (index) {
    case kRs232Port:
      return u"RS232";
    case kUsbPort:
      return u"USB";
    case kIrdaPort:
      return u"IrDA";
    default:
      return {};
  }
}

LinkRegisters readLinkRegisters(machine::Machine& m) {
  return {load(m.vm.serialControl), load(m.vm.regNibble1A), load(m.vm.regNibble1B),
          load(m.vm.regNibble0D)};
}

std::uint8_t serialControl(machine::Machine& m) {
  return load(m.vm.serialControl);
}

int selectedPort(const LinkRegisters& registers) {
  if ((registers.control & kSerialEnabled) == 0 || (registers.linkControl & kInfraredChosen) != 0)
    return kIrdaPort;
  return (registers.link & kWireIsRs232) != 0 ? kRs232Port : kUsbPort;
}

std::uint32_t lineSpeed(std::uint32_t baudCode) {
  return baudCode < kSpeeds.size() ? kSpeeds[baudCode] : kSpeeds.back();
}

void requestInterrupt(machine::Machine& m) {
  std::atomic_ref<std::uint32_t>(m.vm.interruptPending).fetch_or(1);
  m.host->signalWakeUp();
}

}  // namespace tavrel::core::serial
