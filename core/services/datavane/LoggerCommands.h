// What the application sends to the logger, as commands and payloads.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tavrel::core::datavane {

enum LoggerCommand : std::uint8_t {
  kKeepAlive = 1,
  kStartChannels = 5,
  kStartUpload = 10,
  kStop = 15,
};

inline constexpr int kChannels = 4;
inline constexpr std::uint8_t kNoSensor = 255;

// One channel's settings as the context keeps them.
struct ChannelSetting {
  std::uint8_t enable = 0;
  std::uint8_t sensor = kNoSensor;
  // A channel counts as on when enabled and fitted with a sensor.
  bool isOn() const { return enable != 0 && sensor < kNoSensor; }
};

// The class of the logger's input stage that a sensor number needs.
std::uint8_t sensorClass(std::uint8_t sensor);

// Command 5: six bytes a channel (input, on, channel number, 1, 127 around them).
inline constexpr std::size_t kStartPayloadBytes = 6 * kChannels;
std::array<std::uint8_t, kStartPayloadBytes> startPayload(
    std::span<const ChannelSetting, kChannels> channels);

// Command 10: the number of 128-byte blocks (high, low byte) and the XOR of the image.
std::array<std::uint8_t, 3> uploadStartPayload(std::span<const std::uint8_t> image);

}  // namespace tavrel::core::datavane
