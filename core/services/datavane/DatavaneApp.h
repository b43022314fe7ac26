// The Datavane logger application that the ROM runs through native call 90: services 0-6
// on a context record in emulated RAM, the logger link, the keys and the screen.
#pragma once

#include <cstdint>
#include <filesystem>

#include "ContextRecord.h"
#include "FirmwareUpload.h"
#include "LinkTiming.h"
#include "LoggerLink.h"

namespace tavrel::machine {
struct Machine;
}

namespace tavrel::core::datavane {

inline constexpr std::uint32_t kServiceDone = 0;
inline constexpr std::uint32_t kServiceRefused = 6;
inline constexpr std::uint32_t kServiceLimit = 100;

// The call's arguments as the registers give them.
struct ServiceCall {
  std::uint32_t context = 0;  // D0
  std::uint32_t service = 0;  // R0 bits 0-19
  std::uint32_t second = 0;   // B bits 1-19
  std::uint32_t flags = 0;    // R4, low word
};

class DatavaneApp {
 public:
  static constexpr std::uint32_t kKeepAliveMs = 1000;
  static constexpr std::uint32_t kStartPauseMs = 10;
  static constexpr std::uint32_t kKeyRepeatMs = 100;

  DatavaneApp(PortFactory factory, LinkTiming timing, std::filesystem::path firmware);

  // Native call 90: the arguments from the registers, the return code in A bits 0-19 and
  // carry set when it is not 0.
  void serve(machine::Machine& m);
  // One service; gives the return code.
  std::uint32_t run(machine::Machine& m, const ServiceCall& call);

  LoggerLink& link() { return link_; }
  // What the last firmware upload gave.
  UploadResult lastUpload() const { return lastUpload_; }

 private:
  void initialise(Context& c, std::uint32_t second);
  bool send(Context& c, std::uint8_t command, std::span<const std::uint8_t> payload = {});
  void startAcquisition(Context& c);
  void stopAcquisition(Context& c);
  void keepAliveIfDue(Context& c);
  void resetTimeBase(Context& c);
  void pollLogger(ContextRecord& record, Context& c);
  void storeReading(machine::Machine& m, Context& c, const Sample& sample);
  void exportStep(machine::Machine& m, ContextRecord& record, Context& c);
  void interactive(machine::Machine& m, ContextRecord& record, Context& c, std::uint32_t flags);
  void applyKey(Context& c, int key, int step);
  void uploadFirmware(Context& c);
  void draw(machine::Machine& m, const ContextRecord& record, const Context& c);

  LinkTiming timing_;
  LoggerLink link_;
  std::filesystem::path firmware_;
  UploadResult lastUpload_ = UploadResult::kPortClosed;
};

// The step of the moving keys: 20 with R4 bit 7, 5 with bit 6, else 1.
int stepFromFlags(std::uint32_t flags);

}  // namespace tavrel::core::datavane
