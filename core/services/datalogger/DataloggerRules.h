#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::datalogger {

// A serial port of the host as the system lists it.
struct PortListing {
  std::u16string description;
  std::u16string portName;  // "COM4" on systems that name ports so, else a device path
};

// The logger's driver describes its port as "ZR Datavane..." (any case).
bool isDataloggerDescription(std::u16string_view description);
// "COM" (any case) and one or more digits.
bool isComPortName(std::u16string_view name);
// A name the port can be opened by: a COM name, or a serial device path "/dev/tty...".
bool isOpenablePortName(std::u16string_view name);
// The port names of the logger's ports, in list order.
std::vector<std::u16string> dataloggerCandidates(const std::vector<PortListing>& ports);

// The count of positions where a byte with its top bit clear follows one with it set.
std::size_t countHighLowPairs(const std::uint8_t* bytes, std::size_t count);
// The logger sends pairs of bytes with the top bit set, then clear: more than 30 bytes of
// which the pairs make more than a quarter.
bool isLoggerPattern(const std::uint8_t* bytes, std::size_t count);

}  // namespace tavrel::datalogger
