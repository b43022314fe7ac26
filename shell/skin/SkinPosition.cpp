#include "skin/SkinPosition.h"

#include "tavrel/excpt/Exception.h"

namespace tavrel {
namespace {

constexpr char16_t kPositionValue[] = u"Pos";

std::u16string skinKey(const std::u16string& skinName) {
  return u"skins\\" + skinName;
}

}  // namespace

WindowPosition readSkinPosition(const CRegistry& registry, const std::u16string& skinName) {
  try {
    return registry.readPosition(skinKey(skinName), kPositionValue);
  } catch (const excpt::SettingReadException&) {
    return WindowPosition{};
  }
}

void writeSkinPosition(CRegistry& registry, const std::u16string& skinName,
                       WindowPosition position) {
  registry.createKey(u"skins", skinName);
  registry.writePosition(skinKey(skinName), kPositionValue, position);
}

}  // namespace tavrel
