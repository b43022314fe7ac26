#include "Readings.h"

#include <array>

namespace tavrel::core::datavane {
namespace {

constexpr std::int32_t kRawZero = 32768;
constexpr int kLabelWidth = 7;

// Units a raw step is worth, by class of the input stage.
constexpr std::array<const char*, 8> kClassGain = {"0.0001", "0.001",  "0.01", "0.0001",
                                                   "0.0001", "0.0001", "0.1",  "0.005"};

BcdReal gainOf(std::uint8_t sensorClass) {
  BcdReal gain;
  fStringToZR(kClassGain[sensorClass % kClassGain.size()], &gain, '.', 0);
  return gain;
}

}  // namespace

BcdReal rawDifferenceOf(std::int32_t difference, std::uint8_t sensorClass) {
  BcdReal count;
  fIntToZR(difference, &count);
  const BcdReal gain = gainOf(sensorClass);
  BcdReal value;
  fmul(&count, &gain, &value);
  return value;
}

BcdReal readingOf(std::int32_t raw, std::uint8_t sensorClass) {
  return rawDifferenceOf(raw - kRawZero, sensorClass);
}

BcdReal secondsOf(std::int64_t milliseconds) {
  BcdReal ms;
  BcdReal thousand;
  fIntToZR(static_cast<std::int32_t>(milliseconds), &ms);
  fIntToZR(1000, &thousand);
  BcdReal seconds;
  fdiv(&ms, &thousand, &seconds);
  return seconds;
}

std::string numberText(const BcdReal& value) {
  char buffer[BCD_TEXT_SIZE];
  return fZRToString(&value, buffer, '.', 0, 0, 12, kLabelWidth);
}

}  // namespace tavrel::core::datavane
