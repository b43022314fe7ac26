#include "FirmwareImage.h"

#include <dlfcn.h>

#include <fstream>

namespace tavrel::core::datavane {

std::filesystem::path defaultFirmwarePath() {
  Dl_info info{};
  std::filesystem::path module;
  if (dladdr(reinterpret_cast<void*>(&defaultFirmwarePath), &info) != 0 &&
      info.dli_fname != nullptr) {
    std::error_code failure;
    module = std::filesystem::canonical(info.dli_fname, failure);
  }
  return module.parent_path().parent_path() / "data" / "datavane" / "logger-firmware.bin";
}

FirmwareLoad loadFirmwareImage(const std::filesystem::path& path) {
  FirmwareLoad load;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    load.error = "cannot open the logger firmware image " + path.string();
    return load;
  }
  std::vector<std::uint8_t> bytes(kFirmwareImageBytes + 1);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (static_cast<std::size_t>(in.gcount()) != kFirmwareImageBytes) {
    load.error = "the logger firmware image " + path.string() + " is not " +
                 std::to_string(kFirmwareImageBytes) + " bytes long";
    return load;
  }
  bytes.resize(kFirmwareImageBytes);
  load.image = std::move(bytes);
  return load;
}

}  // namespace tavrel::core::datavane
