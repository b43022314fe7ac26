#include "CalculatorLine.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>

#include "tavrel/Registry.h"
#include "tavrel/Text.h"

#include "tavrel/statexport/link/SerialTransport.h"
#include "tavrel/statexport/link/UsbTransport.h"

namespace tavrel::statexport {

namespace {

bool parseHex16(std::string_view text, std::uint16_t& value) {
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  return failure == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace

std::string configuredCalculatorLine() {
  if (const char* variable = std::getenv(kCalculatorLineVariable)) {
    return variable;
  }
  return toUtf8(CRegistry().readText(u"StatFolio", u"StatFolioLine"));
}

std::unique_ptr<link::IByteTransport> openCalculatorLine(const std::string& setting,
                                                         std::string& error) {
  if (setting.empty()) {
    error = std::string("No calculator line is set up: set the setting StatFolio\\StatFolioLine"
                        " (or the environment variable ") +
            kCalculatorLineVariable + ") to usb:VENDOR:PRODUCT or to a serial device.";
    return nullptr;
  }
  constexpr std::string_view kUsb = "usb:";
  if (setting.rfind(kUsb, 0) != 0) {
    return std::make_unique<link::SerialTransport>(setting);
  }
  const std::string_view ids = std::string_view(setting).substr(kUsb.size());
  const std::size_t colon = ids.find(':');
  std::uint16_t vendor = 0;
  std::uint16_t product = 0;
  if (colon == std::string_view::npos || !parseHex16(ids.substr(0, colon), vendor) ||
      !parseHex16(ids.substr(colon + 1), product)) {
    error = std::string("The calculator line \"") + setting +
            "\" is not of the form usb:VENDOR:PRODUCT (hexadecimal).";
    return nullptr;
  }
  return std::make_unique<link::UsbTransport>(vendor, product);
}

}  // namespace tavrel::statexport
