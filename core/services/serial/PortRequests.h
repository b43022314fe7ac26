// The small request layer through which the bridge drives a virtual port of the connection
// service, and shared ownership of the port object so that a task that outlives its bridge
// never reaches a port that was given back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "tavrel/io/VirtualPort.h"

namespace tavrel::core::serial {

// The port object; given back to the connection service (release) when the last user lets go.
using PortHandle = std::shared_ptr<IVirtualPort>;
PortHandle adoptPort(IVirtualPort* port);  // null for null

inline constexpr int kSetSpeedRequest = 0;
inline constexpr int kBytesWaitingRequest = 12;

// Request 0 sets the speed to value; request 12 puts the bytes waiting into answer and fails
// when the port cannot say; any other request does nothing.
bool portControl(IVirtualPort& port, int request, std::uint32_t value, std::size_t& answer);
// The count read or written, or -1 on failure.
std::ptrdiff_t portRead(IVirtualPort& port, std::uint8_t* buffer, std::size_t count);
std::ptrdiff_t portWrite(IVirtualPort& port, const std::uint8_t* buffer, std::size_t count);

}  // namespace tavrel::core::serial
