// The core's one serial bridge: made when emulatorMainTask starts, closed when it quits, and
// reached by the machine's host, the commands "restart_serial" and "stop_serial".
#pragma once

#include <memory>
#include <string>

#include "SerialBridge.h"

namespace tavrel::core::serial {

// Makes the bridge (with its locks) for the machine; its ports come from "getIOPortForVPort"
// through the command service. Replaces a bridge left from before.
void openSerialBridge(machine::Machine& m);
// Stops the bridge under its lock and frees it.
void closeSerialBridge();
// Null while no main task runs.
std::shared_ptr<SerialBridge> serialBridge();

// The virtual port of that name from the connection service ("getIOPortForVPort NAME"), or
// null when no connection service is loaded or it has no such port.
IVirtualPort* portFromConnectionService(const std::u16string& name);

// The routines of "restart_serial" (force = true) and "stop_serial"; nothing without a bridge.
void restartSerial(bool force);
void stopSerial();

}  // namespace tavrel::core::serial
