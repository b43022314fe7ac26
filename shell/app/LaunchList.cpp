#include "app/LaunchList.h"

#include <iostream>

#include "tavrel/Registry.h"
#include "tavrel/Text.h"
#include "tavrel/excpt/Exception.h"

namespace tavrel {
namespace {

bool writeEntry(CRegistry& store, const std::u16string& key, const LaunchTarget& entry) {
  if (!store.createKey(u"", key) || !store.writeText(key, u"Title", entry.title) ||
      !store.writeText(key, u"Description", entry.description) ||
      !store.writeText(key, u"Target", entry.target) ||
      !store.writeText(key, u"CommandArgs", entry.commandArgs)) {
    return false;
  }
  try {
    store.writeNumber32(key, u"IconIndex", static_cast<std::uint32_t>(entry.iconIndex));
  } catch (const excpt::SettingWriteException&) {
    return false;
  }
  return true;
}

}  // namespace

std::u16string calcManagerStoreFile(const std::u16string& shellStoreFile) {
  const std::size_t slash = shellStoreFile.find_last_of(u'/');
  const std::u16string folder =
      slash == std::u16string::npos ? std::u16string() : shellStoreFile.substr(0, slash + 1);
  return folder + u"ZRCalcManager.settings";
}

std::u16string launchKeyName(const std::u16string& title) {
  std::u16string name;
  for (char16_t c : title) {
    if (c != u' ' && c != u'\\' && c != u'\n' && c <= 127) {
      name.push_back(c);
    }
  }
  return name;
}

bool writeLaunchTarget(const std::u16string& storeFile, const LaunchTarget& entry,
                       bool makeDefault) {
  CRegistry store(storeFile, u"");
  const std::u16string key = u"Calcs\\" + launchKeyName(entry.title);
  if (writeEntry(store, key, entry) && (!makeDefault || writeEntry(store, u"", entry))) {
    return true;
  }
  std::cerr << "Cannot add the program to the launch list: " << toUtf8(store.lastError()) << '\n';
  return false;
}

}  // namespace tavrel
