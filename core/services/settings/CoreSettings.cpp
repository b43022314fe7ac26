#include "settings/CoreSettings.h"

#include <mutex>

#include "settings/CoreAccess.h"
#include "tavrel/Singleton.h"

namespace tavrel::core {

namespace {

struct Binding {
  std::mutex mutex;
  CRegistry* registry = nullptr;
  std::u16string settingsKey;
};
Binding& binding() {
  static Binding b;
  return b;
}

std::u16string join(std::u16string_view first, std::u16string_view second) {
  std::u16string key(first);
  key += u'\\';
  key += second;
  return key;
}

}  // namespace

void bindCoreSettings(CRegistry* registry, std::u16string settingsKey) {
  // The shell hands over the full registry path; the store's keys are relative to the
  // application key.
  if (settingsKey.starts_with(CRegistry::kApplicationKey)) {
    settingsKey.erase(0, CRegistry::kApplicationKey.size());
    if (settingsKey.starts_with(u'\\'))
      settingsKey.erase(0, 1);
  }
  std::lock_guard lock(binding().mutex);
  binding().registry = registry;
  binding().settingsKey = std::move(settingsKey);
}

CRegistry& coreRegistry() {
  std::lock_guard lock(binding().mutex);
  return binding().registry ? *binding().registry : TSingleton<CRegistry>::instance();
}

std::u16string coreKey(std::u16string_view subKey) {
  std::lock_guard lock(binding().mutex);
  const std::u16string& root = binding().settingsKey;
  if (root.empty())
    return std::u16string(subKey);
  return subKey.empty() ? root : join(root, subKey);
}

std::u16string currentSkinName() {
  std::u16string name = coreAccess().skinName();
  if (name.empty())
    coreRegistry().readText(coreKey(u""), u"InitialSkin", name);
  return name;
}

std::u16string currentSkinKey() {
  const std::u16string name = currentSkinName();
  return coreKey(join(kSkinsKey, name.empty() ? u"initial" : std::u16string_view(name)));
}

std::u16string currentRomKey() {
  return coreKey(join(kRomKey, kRomTypeText));
}

std::u16string initialRomKey() {
  return coreKey(join(kRomKey, coreRegistry().readText(coreKey(u""), u"InitialROM")));
}

}  // namespace tavrel::core
