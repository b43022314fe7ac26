#include "tavrel/statexport/link/LinkConnection.h"

#include <array>

namespace tavrel::statexport::link {

namespace {
// The transport's reads come in pieces of at most this size.
constexpr std::size_t kReadChunk = 64;
// A line that keeps failing while the calculator is still there is retried at this pace.
constexpr std::chrono::milliseconds kFailedReadPause{10};
}  // namespace

LinkConnection::~LinkConnection() {
  disconnect();
}

bool LinkConnection::connect() {
  std::lock_guard<std::mutex> pipe(pipeLock_);
  if (transport_.isOpen()) {
    return true;
  }
  if (!transport_.open()) {
    return false;
  }
  stop_.reset();
  running_ = true;
  reader_ = std::thread(&LinkConnection::readerLoop, this);
  return true;
}

void LinkConnection::disconnect() {
  stop_.set();
  running_ = false;
  transport_.interruptRead();
  if (reader_.joinable()) {
    reader_.join();
  }
  {
    std::lock_guard<std::mutex> pipe(pipeLock_);
    transport_.close();
  }
  ring_.clear();
}

void LinkConnection::readerLoop() {
  std::array<std::uint8_t, kReadChunk> chunk{};
  while (running_ && !stop_.isSet()) {
    const TransportRead got = transport_.read(chunk.data(), chunk.size(), kReadSlice);
    if (got.count > 0) {
      ring_.append(chunk.data(), got.count);
    }
    if (got.failed) {
      if (!transport_.isPresent()) {
        running_ = false;
      } else {
        stop_.waitFor(kFailedReadPause);
      }
    }
  }
}

std::size_t LinkConnection::readBytes(std::uint8_t* buffer, std::size_t count,
                                      std::chrono::milliseconds timeout) {
  return ring_.take(buffer, count, std::chrono::steady_clock::now() + timeout);
}

std::uint8_t LinkConnection::readByte(std::chrono::milliseconds timeout) {
  std::uint8_t byte = 0;
  readBytes(&byte, 1, timeout);
  return byte;
}

std::size_t LinkConnection::writeBytes(const std::uint8_t* bytes, std::size_t count) {
  if (count == 0) {
    return 0;
  }
  {
    std::lock_guard<std::mutex> pipe(pipeLock_);
    if (!transport_.isOpen() || transport_.write(bytes, count, kWriteTimeout) != count) {
      return 0;
    }
  }
  if (pauseAfterWrite_.count() > 0) {
    std::this_thread::sleep_for(pauseAfterWrite_);
  }
  return count;
}

void LinkConnection::purge(std::chrono::milliseconds quiet, const std::atomic<bool>* abandon) {
  // Counts bytes rather than testing for a non-zero byte: a 0 in line noise is noise too.
  std::uint8_t byte = 0;
  while (!(abandon && abandon->load()) && readBytes(&byte, 1, quiet) == 1) {
  }
}

}  // namespace tavrel::statexport::link
