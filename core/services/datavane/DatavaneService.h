// The core's one Datavane application, behind native call 90.
#pragma once

namespace tavrel::machine {
struct Machine;
}

namespace tavrel::core::datavane {

// Runs the service the registers ask for; made on first use with the data-logger port, the
// steady clock and the firmware image beside the core.
void serveDatavane(machine::Machine& m);

}  // namespace tavrel::core::datavane
