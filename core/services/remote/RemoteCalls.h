// The native calls of the remote link and the direct port, as the core's machine host serves
// them: 50 opens the link, 51 closes it, 56 sends one byte on the infrared port.
#pragma once

namespace tavrel::machine {
struct Machine;
}

namespace tavrel::core::remote {

// 50: closes a held link, opens "RS232" at 115200, sets annunciator bit 5 and starts
// controlTask one above the caller's priority. carry = 0 when the link is open, 1 when the
// port is missing, will not open, or no task slot is left.
void openRemoteLink(machine::Machine& m);
// 51: closes the link when open and clears annunciator bit 5.
void closeRemoteLink(machine::Machine& m);
// 56: A's low byte once on "IrDA" (opened as the direct port when it is not already); sets
// annunciator bit 5; P = 0, decimal = 0, carry = 0, or carry = 1 when the port cannot be had.
void sendDirectByte(machine::Machine& m);

}  // namespace tavrel::core::remote
