// The direct port of the native calls: the virtual port that the remote link (calls 50, 51)
// and call 56 open past the serial bridge. While it is held the bridge leaves the line alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace tavrel::machine {
struct Machine;
}

namespace tavrel::core::remote {

// True while the native calls hold a direct port open (restartSerial then does nothing).
bool directPortHeld();

// Closes and forgets any direct port without touching a machine; the main task's start
// sequence calls this, so a new machine starts with the line free.
void markDirectPortClosed();

// Virtual port indexes the native calls use, and the one speed they use.
inline constexpr int kRemotePort = 1;    // "RS232"
inline constexpr int kInfraredPort = 3;  // "IrDA"
inline constexpr std::uint32_t kDirectSpeed = 115200;

class DirectLink;

// Opens virtual port `index` at kDirectSpeed as the direct port, closing a held one first
// (with the annunciator update on m); null when the port does not exist or will not open.
std::shared_ptr<DirectLink> openDirectPort(int index, machine::Machine& m);
// The held direct port; null while closed.
std::shared_ptr<DirectLink> heldDirectPort();

// One byte in up to five attempts, 1000 ms apart (a byte that comes meanwhile is read at
// once); the fifth failure closes the link. After a byte the calling task pauses 15 ms.
// -1 once the link is closed (or the task must stop).
int readDirectByte(DirectLink& link, machine::Machine& m);
// Drains and closes the link's port; when it was the held one, marks the direct port closed
// and clears annunciator bit 5 through the machine's annunciator update.
void closeDirectPort(DirectLink& link, machine::Machine& m);
// Sets or clears annunciator bit 5 (the open link) through the machine's annunciator update.
void showLinkAnnunciator(machine::Machine& m, bool on);

}  // namespace tavrel::core::remote
