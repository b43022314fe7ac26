#pragma once

#include <string>
#include <string_view>

namespace tavrel {
class CRegistry;
}

namespace tavrel::connect {

// Settings of the service: sub-key "Connect" below the application key.
inline constexpr std::u16string_view kConnectKey = u"Connect";
// The mapping text of a port is a host device path or the word "pty".
inline constexpr std::u16string_view kPtyWord = u"pty";
// Written by the service: the path of the pseudo-terminal it made for a port (name + "Pty").
inline constexpr std::u16string_view kPtySuffix = u"Pty";
// Read by the service: where to keep a symbolic link to that pseudo-terminal (name + "Link").
inline constexpr std::u16string_view kLinkSuffix = u"Link";

// What one virtual port is mapped to.
struct PortMapping {
  enum class Kind { None, Device, Pty };
  Kind kind = Kind::None;
  std::u16string device;    // Device: the host path
  std::u16string linkPath;  // Pty: optional stable link, empty for none
};

// "RS232", "USB" and "IrDA" are the ports the calculator knows.
bool isVirtualPortName(std::u16string_view name);

// The mapping of a virtual port in the settings; None for an unknown name or no value.
PortMapping readMapping(const CRegistry& registry, std::u16string_view name);

}  // namespace tavrel::connect
