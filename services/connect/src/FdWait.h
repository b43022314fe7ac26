#pragma once

#include <atomic>

namespace tavrel::connect {

// Waits until fd has bytes to read (or has failed), looking at open between short slices so
// that a close on another task ends the wait soon. False when open became false.
bool waitReadable(int fd, const std::atomic<bool>& open);

// Waits up to limitMs until fd takes bytes. False on time-out, failure or close.
bool waitWritable(int fd, const std::atomic<bool>& open, int limitMs);

}  // namespace tavrel::connect
