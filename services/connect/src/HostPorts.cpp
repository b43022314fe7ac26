#include "HostPorts.h"

#include <QtSerialPort/QSerialPortInfo>

namespace tavrel::connect {

std::vector<HostSerialPort> listHostSerialPorts() {
  std::vector<HostSerialPort> ports;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    ports.push_back({info.systemLocation().toStdU16String(), info.description().toStdU16String()});
  }
  return ports;
}

std::u16string formatHostSerialPorts(const std::vector<HostSerialPort>& ports) {
  std::u16string text;
  for (const HostSerialPort& port : ports) {
    text += port.path + u'\t' + port.description + u'\n';
  }
  return text;
}

}  // namespace tavrel::connect
