#include "DatavaneService.h"

#include "DatavaneApp.h"
#include "FirmwareImage.h"
#include "datalogger/ComIOPort.h"

namespace tavrel::core::datavane {

void serveDatavane(machine::Machine& m) {
  // Native calls run on the emulation task only, so the application needs no lock.
  static DatavaneApp app(&createDataloggerPort, LinkTiming::steady(), defaultFirmwarePath());
  app.serve(m);
}

}  // namespace tavrel::core::datavane
