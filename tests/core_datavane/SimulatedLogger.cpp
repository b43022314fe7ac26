#include "SimulatedLogger.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "SocatPair.h"
#include "datavane/FirmwareUpload.h"
#include "datavane/LinkFraming.h"

namespace tavrel::test {

using namespace core::datavane;

SimulatedLogger::SimulatedLogger(const std::string& path, Behaviour behaviour)
    : behaviour_(behaviour) {
  fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  termios line{};
  if (fd_ >= 0 && ::tcgetattr(fd_, &line) == 0) {
    ::cfmakeraw(&line);
    ::tcsetattr(fd_, TCSANOW, &line);
  }
  thread_ = std::thread([this] { run(); });
}

SimulatedLogger::~SimulatedLogger() {
  stop_ = true;
  thread_.join();
  if (fd_ >= 0) {
    ::close(fd_);
  }
}

bool SimulatedLogger::announce(const std::string& portEnd) {
  std::vector<std::uint8_t> idle;
  for (int i = 0; i < 250; ++i) {
    idle.insert(idle.end(), {0x81, 0x00});
  }
  return send(idle) && waitForInput(portEnd, idle.size());
}

bool SimulatedLogger::send(const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (fd_ >= 0 && done < bytes.size() && std::chrono::steady_clock::now() < deadline) {
    ssize_t put = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (put > 0) {
      done += static_cast<std::size_t>(put);
    } else {
      pollfd entry{fd_, POLLOUT, 0};
      ::poll(&entry, 1, 20);
    }
  }
  return done == bytes.size();
}

bool SimulatedLogger::waitFor(const std::function<bool()>& condition) {
  std::unique_lock guard(mutex_);
  return changed_.wait_for(guard, std::chrono::seconds(10), condition);
}

void SimulatedLogger::run() {
  auto lastBeat = std::chrono::steady_clock::now();
  while (!stop_ && fd_ >= 0) {
    if (behaviour_.heartbeatMs > 0 && std::chrono::steady_clock::now() - lastBeat >
                                          std::chrono::milliseconds(behaviour_.heartbeatMs)) {
      send({0x81, 0x00});
      lastBeat = std::chrono::steady_clock::now();
    }
    pollfd entry{fd_, POLLIN, 0};
    if (::poll(&entry, 1, 20) <= 0) {
      continue;
    }
    std::uint8_t chunk[512];
    ssize_t got = ::read(fd_, chunk, sizeof chunk);
    for (ssize_t i = 0; i < got; ++i) {
      take(chunk[i]);
    }
  }
}

void SimulatedLogger::take(std::uint8_t byte) {
  std::lock_guard guard(mutex_);
  received.push_back(byte);
  if (frameBytesWanted_ > 0) {
    frame_.push_back(byte);
    if (--frameBytesWanted_ == 0) {
      takeUploadFrame();
    }
  } else if (uploading_) {
    if (byte == kUploadBlock) {
      frame_.clear();
      frameBytesWanted_ = kUploadFrameBytes;
    } else if (byte == kUploadEnd && ++endMarks == 3) {
      send({kUploadAck});
    } else if (byte == kUploadAbort) {
      aborted = true;
    }
  } else if (byte == kUploadAbort) {
    aborted = true;
  } else if (auto event = parser_.push(byte)) {
    if (event->kind == LinkEvent::Kind::kPacket) {
      packets.push_back(*event);
      if (event->code == 10) {
        uploading_ = true;
        if (behaviour_.answerUploadStart) {
          send({kUploadReady});
        }
      }
    }
  }
  changed_.notify_all();
}

void SimulatedLogger::takeUploadFrame() {
  std::uint8_t check = 0;
  for (std::size_t i = 0; i < kUploadFramePacked; ++i) {
    check ^= frame_[i];
  }
  if (check != frame_[kUploadFramePacked]) {
    ++badFrames;
    return;
  }
  const std::vector<std::uint8_t> plain =
      unpackLsbFirst(std::span(frame_.data(), kUploadFramePacked), 4 + kUploadBlockBytes);
  const std::uint32_t offset =
      plain[0] | (plain[1] << 8) | (plain[2] << 16) | (static_cast<std::uint32_t>(plain[3]) << 24);
  const bool dropped = static_cast<int>(offset / kUploadBlockBytes) == behaviour_.dropAckForBlock &&
                       std::count(blockOffsets.begin(), blockOffsets.end(), offset) == 0;
  blockOffsets.push_back(offset);
  if (image.size() < offset + kUploadBlockBytes) {
    image.resize(offset + kUploadBlockBytes);
  }
  std::copy(plain.begin() + 4, plain.end(), image.begin() + offset);
  if (!dropped) {
    send({kUploadAck});
  }
}

}  // namespace tavrel::test
