#pragma once

#include <string>
#include <vector>

namespace tavrel::connect {

// A serial port of the host, for the preferences page that maps the virtual ports.
struct HostSerialPort {
  std::u16string path;         // what a mapping value names, e.g. "/dev/ttyUSB0"
  std::u16string description;  // the driver's description, may be empty
};

std::vector<HostSerialPort> listHostSerialPorts();

// One line a port, "path<TAB>description\n", in the order of the list.
std::u16string formatHostSerialPorts(const std::vector<HostSerialPort>& ports);

}  // namespace tavrel::connect
