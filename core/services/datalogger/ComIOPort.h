#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ByteRing.h"
#include "DataloggerRules.h"
#include "IOPort.h"
#include "SilenceWatch.h"

class QSerialPort;

namespace tavrel {

// Where the data-logger port looks for its logger.
struct ComIOPortSources {
  // A device named directly (setting "DatavanePort"); when set, it is the only one tried.
  std::u16string directDevice;
  // The host's serial ports with their descriptions.
  std::function<std::vector<datalogger::PortListing>()> listPorts;
  datalogger::MillisecondClock clock;
};

// The core's settings and the host's port list, with the steady clock.
ComIOPortSources dataloggerSourcesFromSettings();

// The data logger on a host serial port: 115200 bit/s 8N1 without flow control, accepted
// only when its data looks like the logger's. Reads and polls wait at most 15 ms.
class ComIOPort final : public IOPort {
 public:
  static constexpr std::size_t kRingSlots = 1104;
  static constexpr std::size_t kPatternReads = 5;
  static constexpr std::size_t kPatternBytes = 100;

  explicit ComIOPort(ComIOPortSources sources);
  ~ComIOPort() override;

  void destroy() override;
  bool reopen() override;
  void close() override;
  bool isOpen() const override;
  std::size_t read(std::uint8_t* buffer, std::size_t count) override;
  std::size_t write(const std::uint8_t* buffer, std::size_t count) override;
  std::size_t available() override;

  // The device in use, empty when closed.
  std::u16string devicePath() const;

 private:
  // Opens the device with the logger's line settings and keeps it when the pattern shows.
  bool openLogger(const std::u16string& device);
  // Reads up to count bytes within the read time-out. Needs portMutex_.
  std::size_t readPort(std::uint8_t* buffer, std::size_t count);
  void closeLocked();

  ComIOPortSources sources_;
  mutable std::mutex portMutex_;
  std::unique_ptr<QSerialPort> port_;
  std::u16string device_;
  // The ring is taken after the port lock whenever both are held.
  std::mutex ringMutex_;
  datalogger::ByteRing ring_{kRingSlots};
  datalogger::SilenceWatch silence_;
};

// The data-logger port as the native calls create it on first use: from the settings, and
// opened at once.
std::unique_ptr<IOPort> createDataloggerPort();

}  // namespace tavrel
