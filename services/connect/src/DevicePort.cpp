#include "DevicePort.h"

#include <sys/ioctl.h>
#include <termios.h>

#include <chrono>
#include <cstdio>

#include "FdWait.h"

namespace tavrel::connect {
namespace {

constexpr int kWriteLimitMs = 2000;
constexpr int kWriteSliceMs = 50;

}  // namespace

DevicePort::~DevicePort() {
  close();
}

bool DevicePort::open() {
  std::lock_guard lock(mutex_);
  if (port_) {
    return true;
  }
  auto port = std::make_unique<QSerialPort>(device_);
  // Tied to no thread, the port never reads on its own in some event loop (the window
  // thread's, when opened there) behind the blocking calls of the tasks that use it.
  port->moveToThread(nullptr);
  if (!port->open(QIODevice::ReadWrite)) {
    std::fprintf(stderr, "connect: cannot open %s: %s\n", qPrintable(device_),
                 qPrintable(port->errorString()));
    return false;
  }
  port->setBaudRate(static_cast<qint32>(speed_));
  port->setDataBits(QSerialPort::Data8);
  port->setParity(QSerialPort::NoParity);
  port->setStopBits(QSerialPort::OneStop);
  port->setFlowControl(QSerialPort::NoFlowControl);
  port_ = std::move(port);
  open_ = true;
  return true;
}

void DevicePort::close() {
  open_ = false;
  std::lock_guard lock(mutex_);
  if (port_) {
    port_->close();
    port_.reset();
  }
}

std::uint8_t DevicePort::drain() {
  std::lock_guard lock(mutex_);
  if (!port_ || !flushQueued()) {
    return 0;
  }
  int handle = handleLocked();
  return handle >= 0 && ::tcdrain(handle) == 0 ? 1 : 0;
}

void DevicePort::setSpeed(std::uint32_t bitsPerSecond) {
  std::lock_guard lock(mutex_);
  speed_ = bitsPerSecond;
  if (port_ && !port_->setBaudRate(static_cast<qint32>(bitsPerSecond))) {
    std::fprintf(stderr, "connect: %s refuses %u bit/s\n", qPrintable(device_), bitsPerSecond);
    port_->clearError();
  }
}

bool DevicePort::read(std::uint8_t* buffer, std::size_t offset, std::size_t count,
                      std::size_t& done) {
  done = 0;
  while (open_.load()) {
    int handle = -1;
    {
      std::lock_guard lock(mutex_);
      if (!port_) {
        return false;
      }
      if (port_->bytesAvailable() == 0) {
        port_->waitForReadyRead(0);
      }
      if (port_->bytesAvailable() > 0 || count == 0) {
        qint64 got =
            port_->read(reinterpret_cast<char*>(buffer + offset), static_cast<qint64>(count));
        if (got < 0) {
          return false;
        }
        done = static_cast<std::size_t>(got);
        return true;
      }
      if (port_->error() != QSerialPort::NoError && port_->error() != QSerialPort::TimeoutError) {
        return false;
      }
      port_->clearError();
      handle = handleLocked();
    }
    if (handle < 0 || !waitReadable(handle, open_)) {
      return false;
    }
  }
  return false;
}

bool DevicePort::write(const std::uint8_t* buffer, std::size_t offset, std::size_t count,
                       std::size_t& done) {
  done = 0;
  std::lock_guard lock(mutex_);
  if (!port_) {
    return false;
  }
  qint64 queued =
      port_->write(reinterpret_cast<const char*>(buffer + offset), static_cast<qint64>(count));
  if (queued < 0) {
    return false;
  }
  // Bytes the peer has not taken within the limit stay queued and go out with the next write
  // or drain; they count as written so that nobody sends them twice.
  flushQueued();
  done = static_cast<std::size_t>(queued);
  return port_->isOpen();
}

bool DevicePort::bytesWaiting(std::size_t& count) {
  std::lock_guard lock(mutex_);
  int handle = port_ ? handleLocked() : -1;
  int pending = 0;
  if (handle < 0 || ::ioctl(handle, FIONREAD, &pending) != 0) {
    return false;
  }
  count = static_cast<std::size_t>(port_->bytesAvailable()) + static_cast<std::size_t>(pending);
  return true;
}

bool DevicePort::flushQueued() {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWriteLimitMs);
  while (port_->bytesToWrite() > 0 && std::chrono::steady_clock::now() < deadline) {
    if (!port_->waitForBytesWritten(kWriteSliceMs) && port_->error() != QSerialPort::TimeoutError) {
      return false;
    }
    port_->clearError();
  }
  return port_->bytesToWrite() == 0;
}

int DevicePort::handleLocked() {
  return static_cast<int>(port_->handle());
}

}  // namespace tavrel::connect
