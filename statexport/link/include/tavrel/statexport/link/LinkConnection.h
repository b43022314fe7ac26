// The open line to the calculator during one receive: a reader thread moves everything the
// transport delivers into the receive ring, and the protocol reads from the ring with
// time-outs and writes straight to the transport.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>

#include "tavrel/statexport/link/ByteTransport.h"
#include "tavrel/statexport/link/ReceiveRing.h"
#include "tavrel/statexport/link/StopEvent.h"

namespace tavrel::statexport::link {

class LinkConnection {
 public:
  // The reader waits for the line in slices of this length.
  static constexpr std::chrono::milliseconds kReadSlice{500};
  static constexpr std::chrono::milliseconds kWriteTimeout{1000};
  // Gives the calculator time to take in what was written before the next write.
  static constexpr std::chrono::milliseconds kPauseAfterWrite{10};
  static constexpr std::chrono::milliseconds kDefaultPurgeQuiet{1500};

  // A calculator in memory needs no pause after writes.
  explicit LinkConnection(IByteTransport& transport,
                          std::chrono::milliseconds pauseAfterWrite = kPauseAfterWrite)
      : transport_(transport), pauseAfterWrite_(pauseAfterWrite) {}
  ~LinkConnection();
  LinkConnection(const LinkConnection&) = delete;
  LinkConnection& operator=(const LinkConnection&) = delete;

  // Opens the transport and starts the reader; true at once when already open.
  bool connect();
  // Stops the reader, closes the transport and empties the ring.
  void disconnect();
  bool isConnected() const { return transport_.isOpen(); }

  // Takes up to count bytes, waiting until timeout has passed since the call began.
  std::size_t readBytes(std::uint8_t* buffer, std::size_t count, std::chrono::milliseconds timeout);
  // The next byte, or 0 when none arrived in time (a received 0 looks the same).
  std::uint8_t readByte(std::chrono::milliseconds timeout);
  // Returns count when everything was written, else 0.
  std::size_t writeBytes(const std::uint8_t* bytes, std::size_t count);
  // Reads and discards until the line stays quiet for the quiet time, or abandon is set.
  void purge(std::chrono::milliseconds quiet = kDefaultPurgeQuiet,
             const std::atomic<bool>* abandon = nullptr);

  ReceiveRing& ring() { return ring_; }

 private:
  void readerLoop();

  IByteTransport& transport_;
  std::chrono::milliseconds pauseAfterWrite_;
  ReceiveRing ring_;
  StopEvent stop_;
  std::atomic<bool> running_{false};
  // Serialises opening, writing and closing the transport.
  std::mutex pipeLock_;
  std::thread reader_;
};

}  // namespace tavrel::statexport::link
