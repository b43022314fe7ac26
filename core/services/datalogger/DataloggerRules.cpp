#include "DataloggerRules.h"

#include <algorithm>

namespace tavrel::datalogger {
namespace {

char16_t lower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool startsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(),
                    [](char16_t a, char16_t b) { return lower(a) == lower(b); });
}

constexpr std::size_t kLeastPatternBytes = 30;

}  // namespace

bool isDataloggerDescription(std::u16string_view description) {
  return startsWithIgnoringCase(description, u"ZR Datavane");
}

bool isComPortName(std::u16string_view name) {
  return name.size() > 3 && startsWithIgnoringCase(name, u"COM") &&
         std::all_of(name.begin() + 3, name.end(),
                     [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

bool isOpenablePortName(std::u16string_view name) {
  constexpr std::u16string_view kDevicePrefix = u"/dev/tty";
  return isComPortName(name) ||
         (name.size() > kDevicePrefix.size() && name.starts_with(kDevicePrefix));
}

std::vector<std::u16string> dataloggerCandidates(const std::vector<PortListing>& ports) {
  std::vector<std::u16string> names;
  for (const PortListing& port : ports) {
    if (isDataloggerDescription(port.description) && isOpenablePortName(port.portName)) {
      names.push_back(port.portName);
    }
  }
  return names;
}

std::size_t countHighLowPairs(const std::uint8_t* bytes, std::size_t count) {
  std::size_t pairs = 0;
  for (std::size_t i = 1; i < count; ++i) {
    if ((bytes[i - 1] & 0x80) != 0 && (bytes[i] & 0x80) == 0) {
      ++pairs;
    }
  }
  return pairs;
}

bool isLoggerPattern(const std::uint8_t* bytes, std::size_t count) {
  return count > kLeastPatternBytes && countHighLowPairs(bytes, count) * 4 > count;
}

}  // namespace tavrel::datalogger
