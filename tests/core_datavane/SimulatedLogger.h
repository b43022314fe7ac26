// A Datavane logger on the far end of a pseudo-terminal: it streams idle status pairs until
// the port is opened, answers the link framing and takes firmware uploads.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "datavane/LinkParser.h"

namespace tavrel::test {

class SimulatedLogger {
 public:
  struct Behaviour {
    bool answerUploadStart = true;  // 0x84 after command 10
    int dropAckForBlock = -1;       // this block's first 0x83 is not sent
    int heartbeatMs = 0;            // an idle status pair this often (0: never)
  };

  SimulatedLogger(const std::string& path, Behaviour behaviour);
  ~SimulatedLogger();

  // The idle stream the port's pattern test looks for, left waiting at the port's end.
  bool announce(const std::string& portEnd);
  bool send(const std::vector<std::uint8_t>& bytes);

  // Waits (10 s limit) until the condition holds over the logger's state.
  bool waitFor(const std::function<bool()>& condition);

  // Everything below is read under lock(); the thread fills it in.
  std::unique_lock<std::mutex> lock() { return std::unique_lock(mutex_); }
  std::vector<std::uint8_t> received;              // every byte, in order
  std::vector<core::datavane::LinkEvent> packets;  // packets read in normal mode
  std::vector<std::uint32_t> blockOffsets;         // upload blocks in the order they came
  std::vector<std::uint8_t> image;                 // the upload as put together
  int badFrames = 0;
  int endMarks = 0;
  bool aborted = false;

 private:
  void run();
  void take(std::uint8_t byte);
  void takeUploadFrame();

  int fd_ = -1;
  Behaviour behaviour_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::atomic<bool> stop_{false};
  core::datavane::LinkParser parser_;
  bool uploading_ = false;
  std::size_t frameBytesWanted_ = 0;
  std::vector<std::uint8_t> frame_;
  std::thread thread_;
};

}  // namespace tavrel::test
