#include "ComIOPort.h"

#include <QtSerialPort/QSerialPort>
#include <QtSerialPort/QSerialPortInfo>
#include <algorithm>
#include <chrono>

#include "settings/CoreSettings.h"

namespace tavrel {
namespace {

constexpr int kTimeoutMs = 15;
constexpr qint32 kLoggerSpeed = 115200;
constexpr std::u16string_view kDirectDeviceValue = u"DatavanePort";

std::vector<datalogger::PortListing> hostPorts() {
  std::vector<datalogger::PortListing> ports;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
    QString name = info.portName();
#else
    QString name = info.systemLocation();
#endif
    ports.push_back({info.description().toStdU16String(), name.toStdU16String()});
  }
  return ports;
}

bool setLoggerLine(QSerialPort& port) {
  bool set = port.setBaudRate(kLoggerSpeed) && port.setDataBits(QSerialPort::Data8) &&
             port.setParity(QSerialPort::NoParity) && port.setStopBits(QSerialPort::OneStop) &&
             port.setFlowControl(QSerialPort::NoFlowControl);
  // Terminals without modem lines (pseudo-terminals) refuse these; the logger does not need them.
  port.setDataTerminalReady(false);
  port.setRequestToSend(false);
  port.clearError();
  return set;
}

}  // namespace

ComIOPortSources dataloggerSourcesFromSettings() {
  ComIOPortSources sources;
  sources.directDevice = core::coreRegistry().readText(core::coreKey(u""), kDirectDeviceValue);
  sources.listPorts = &hostPorts;
  sources.clock = datalogger::steadyMilliseconds();
  return sources;
}

ComIOPort::ComIOPort(ComIOPortSources sources)
    : sources_(std::move(sources)), silence_(sources_.clock) {}

ComIOPort::~ComIOPort() {
  destroy();
}

void ComIOPort::destroy() {
  close();
}

bool ComIOPort::reopen() {
  close();
  {
    std::lock_guard ring(ringMutex_);
    ring_.clear();
  }
  std::vector<std::u16string> devices;
  if (!sources_.directDevice.empty()) {
    devices.push_back(sources_.directDevice);
  } else if (sources_.listPorts) {
    devices = datalogger::dataloggerCandidates(sources_.listPorts());
  }
  return std::any_of(devices.begin(), devices.end(),
                     [this](const std::u16string& device) { return openLogger(device); });
}

bool ComIOPort::openLogger(const std::u16string& device) {
  std::lock_guard lock(portMutex_);
  port_ = std::make_unique<QSerialPort>(QString::fromStdU16String(device));
  // Tied to no thread, the port never reads on its own in an event loop behind the blocking
  // calls of the native calls' task.
  port_->moveToThread(nullptr);
  if (!port_->open(QIODevice::ReadWrite) || !setLoggerLine(*port_)) {
    closeLocked();
    return false;
  }
  for (std::size_t attempt = 0; attempt < kPatternReads; ++attempt) {
    std::uint8_t sample[kPatternBytes];
    if (datalogger::isLoggerPattern(sample, readPort(sample, kPatternBytes))) {
      device_ = device;
      silence_.restart();
      return true;
    }
  }
  closeLocked();
  return false;
}

void ComIOPort::close() {
  std::lock_guard lock(portMutex_);
  closeLocked();
}

void ComIOPort::closeLocked() {
  if (port_) {
    port_->close();
    port_.reset();
  }
  device_.clear();
}

bool ComIOPort::isOpen() const {
  std::lock_guard lock(portMutex_);
  return port_ != nullptr;
}

std::u16string ComIOPort::devicePath() const {
  std::lock_guard lock(portMutex_);
  return device_;
}

std::size_t ComIOPort::readPort(std::uint8_t* buffer, std::size_t count) {
  std::size_t have = 0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
  while (port_ && have < count) {
    if (port_->bytesAvailable() == 0) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0 || !port_->waitForReadyRead(static_cast<int>(left.count()))) {
        port_->clearError();
        break;
      }
    }
    qint64 got =
        port_->read(reinterpret_cast<char*>(buffer + have), static_cast<qint64>(count - have));
    if (got <= 0) {
      break;
    }
    have += static_cast<std::size_t>(got);
  }
  return have;
}

std::size_t ComIOPort::read(std::uint8_t* buffer, std::size_t count) {
  std::lock_guard lock(portMutex_);
  std::size_t have = 0;
  {
    std::lock_guard ring(ringMutex_);
    have = ring_.pop(buffer, count);
  }
  return have + readPort(buffer + have, count - have);
}

std::size_t ComIOPort::write(const std::uint8_t* buffer, std::size_t count) {
  std::lock_guard lock(portMutex_);
  if (!port_) {
    return 0;
  }
  qint64 queued = port_->write(reinterpret_cast<const char*>(buffer), static_cast<qint64>(count));
  if (queued <= 0) {
    return 0;
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
  while (port_->bytesToWrite() > 0 && std::chrono::steady_clock::now() < deadline) {
    port_->waitForBytesWritten(kTimeoutMs);
  }
  // Bytes still queued after the time-out go out with the next write: they count as written,
  // so a caller never sends them twice.
  port_->clearError();
  return static_cast<std::size_t>(queued);
}

std::size_t ComIOPort::available() {
  std::lock_guard lock(portMutex_);
  std::lock_guard ring(ringMutex_);
  if (port_ && ring_.room() > 0) {
    std::uint8_t chunk[kRingSlots];
    std::size_t got = readPort(chunk, ring_.room());
    ring_.push(chunk, got);
    if (silence_.poll(got)) {
      closeLocked();
    }
  }
  return ring_.size();
}

std::unique_ptr<IOPort> createDataloggerPort() {
  auto port = std::make_unique<ComIOPort>(dataloggerSourcesFromSettings());
  port->reopen();
  return port;
}

}  // namespace tavrel
