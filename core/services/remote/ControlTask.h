// "controlTask": serves the remote-control protocol on an open direct port until the link
// closes. A program at the other end drives the keyboard and reads the screen with
// single-byte commands.
#pragma once

#include <memory>

namespace tavrel::machine {
struct Machine;
}

namespace tavrel::core::remote {

class DirectLink;

// Starts the task at that priority; false when no task slot is left.
bool startControlTask(machine::Machine& m, std::shared_ptr<DirectLink> link, int priority);

}  // namespace tavrel::core::remote
