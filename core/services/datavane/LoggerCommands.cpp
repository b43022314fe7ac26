#include "LoggerCommands.h"

namespace tavrel::core::datavane {

std::uint8_t sensorClass(std::uint8_t sensor) {
  switch (sensor) {
    case 19:
    case 30:
    case 31:
      return 2;
    case 22:
      return 1;
    case 32:
    case 34:
      return 7;
    case 64:
      return 6;
    default:
      return 0;
  }
}

std::array<std::uint8_t, kStartPayloadBytes> startPayload(
    std::span<const ChannelSetting, kChannels> channels) {
  std::array<std::uint8_t, kStartPayloadBytes> payload{};
  for (int i = 0; i < kChannels; ++i) {
    const bool on = channels[i].isOn();
    const int input = 2 * i + (on ? 8 * sensorClass(channels[i].sensor) : 0);
    const std::uint8_t entry[6] = {
        static_cast<std::uint8_t>(input),     0, static_cast<std::uint8_t>(on ? 1 : 0),
        static_cast<std::uint8_t>(2 * i + 1), 1, 127};
    for (int k = 0; k < 6; ++k) {
      payload[6 * i + k] = entry[k];
    }
  }
  return payload;
}

std::array<std::uint8_t, 3> uploadStartPayload(std::span<const std::uint8_t> image) {
  const std::size_t rounded = image.size() + 127;
  std::uint8_t check = 0;
  for (std::uint8_t byte : image) {
    check ^= byte;
  }
  return {static_cast<std::uint8_t>(rounded >> 15), static_cast<std::uint8_t>(rounded >> 7), check};
}

}  // namespace tavrel::core::datavane
