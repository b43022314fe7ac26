// The logger's firmware image, an opaque data file delivered with the core:
// data/datavane/logger-firmware.bin in the folder above the core's own file (the build tree
// and an installed program both keep the core one level below that folder).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavrel::core::datavane {

inline constexpr std::size_t kFirmwareImageBytes = 15332;

// Where the core looks for the image.
std::filesystem::path defaultFirmwarePath();

struct FirmwareLoad {
  std::optional<std::vector<std::uint8_t>> image;
  std::string error;  // why there is no image
};

// Reads the image; a file of any other size than the image's is refused.
FirmwareLoad loadFirmwareImage(const std::filesystem::path& path);

}  // namespace tavrel::core::datavane
