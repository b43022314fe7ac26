// The line on which ExportStatFolioUSB listens for the calculator.
#pragma once

#include <memory>
#include <string>

#include "tavrel/statexport/link/ByteTransport.h"

namespace tavrel::statexport {

// The line is named by the settings value "StatFolioLine" (sub-key "StatFolio" of the
// application key), or, overriding it, by this environment variable: "usb:VVVV:PPPP" (the
// calculator's USB vendor and product in hex) or the path of a serial device that carries
// the same byte stream.
inline constexpr const char* kCalculatorLineVariable = "TAVREL_STATFOLIO_LINE";

// The configured line: the environment variable when set, else the settings value.
std::string configuredCalculatorLine();

// The line that setting names; none (with why in error) when it is missing or malformed.
std::unique_ptr<link::IByteTransport> openCalculatorLine(const std::string& setting,
                                                         std::string& error);

}  // namespace tavrel::statexport
