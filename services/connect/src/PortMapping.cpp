#include "PortMapping.h"

#include <array>

#include "tavrel/Registry.h"

namespace tavrel::connect {

bool isVirtualPortName(std::u16string_view name) {
  static constexpr std::array<std::u16string_view, 3> kNames{u"RS232", u"USB", u"IrDA"};
  for (std::u16string_view known : kNames) {
    if (name == known) {
      return true;
    }
  }
  return false;
}

PortMapping readMapping(const CRegistry& registry, std::u16string_view name) {
  PortMapping mapping;
  if (!isVirtualPortName(name)) {
    return mapping;
  }
  std::u16string target = registry.readText(kConnectKey, name);
  if (target.empty()) {
    return mapping;
  }
  if (target == kPtyWord) {
    mapping.kind = PortMapping::Kind::Pty;
    mapping.linkPath =
        registry.readText(kConnectKey, std::u16string(name) + std::u16string(kLinkSuffix));
  } else {
    mapping.kind = PortMapping::Kind::Device;
    mapping.device = std::move(target);
  }
  return mapping;
}

}  // namespace tavrel::connect
