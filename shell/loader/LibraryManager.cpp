#include "loader/LibraryManager.h"

#include <algorithm>
#include <iostream>

#include "loader/ProcessInterfaces.h"
#include "tavrel/Memory.h"
#include "tavrel/Singleton.h"

namespace tavrel {
namespace {

bool endsInSeparator(const std::u16string& folder) {
  return !folder.empty() && (folder.back() == u'\\' || folder.back() == u'/');
}

// What the libraries use until they are unloaded is made before the manager, so it is
// destroyed after it.
CRegistry& registryAfterProcessRecords() {
  TSingleton<CMemory>::instance();
  processXmlRecord();
  return TSingleton<CRegistry>::instance();
}

}  // namespace

std::vector<std::u16string> CLibraryManager::defaultList() {
  return {u"Commands#command.dll", u"XML#xml.dll",        u"GUI#gui.dll",
          u"Macro#macro.dll",      u"Info#info.dll",      u"Preferences#prefs.dll",
          u"Tips#tips.dll",        u"Connect#connect.dll"};
}

CLibraryManager::CLibraryManager()
    : CLibraryManager(registryAfterProcessRecords(), processExceptionHub(),
                      processCommandInterface()) {}

CLibraryManager::CLibraryManager(CRegistry& registry, excpt::CExceptionHub& hub,
                                 CommandInterface& commands)
    : registry_(registry), hub_(hub), commands_(commands) {}

CLibraryManager::~CLibraryManager() {
  byName_.clear();
  while (!loadOrder_.empty()) {
    loadOrder_.pop_back();
  }
}

void CLibraryManager::setFolder(std::u16string folder) {
  if (!endsInSeparator(folder)) {
    folder += u'\\';
  }
  folder_ = std::move(folder);
}

std::u16string CLibraryManager::readFolder() {
  std::u16string folder = registry_.readText(kSubKey, kFolderValue);
  if (folder.empty()) {
    folder = kDefaultFolder;
    if (!registry_.createKey(u"", kSubKey) || !registry_.writeText(kSubKey, kFolderValue, folder)) {
      std::cerr << "Cannot store the plug-in folder: " << toUtf8(registry_.lastError()) << '\n';
    }
  }
  return folder;
}

std::vector<std::u16string> CLibraryManager::readList() {
  std::vector<std::u16string> list;
  if (!registry_.readTextList(kSubKey, kListValue, list) || list.empty()) {
    list = defaultList();
    if (!registry_.createKey(u"", kSubKey) || !registry_.writeTextList(kSubKey, kListValue, list)) {
      std::cerr << "Cannot store the plug-in list: " << toUtf8(registry_.lastError()) << '\n';
    }
  }
  return list;
}

void CLibraryManager::loadList() {
  setFolder(readFolder());
  for (const std::u16string& entry : readList()) {
    const std::size_t hash = entry.find(u'#');
    if (hash == std::u16string::npos) {
      continue;
    }
    loadLibrary(entry.substr(0, hash), entry.substr(hash + 1));
  }
}

void CLibraryManager::loadLibrary(const std::u16string& name, const std::u16string& fileName) {
  auto library = std::make_unique<CLibrary>(folder_ + fileName, &hub_, &commands_);
  byName_[name] = library.get();
  loadOrder_.push_back(std::move(library));
}

void CLibraryManager::unloadLibrary(const std::u16string& name) {
  const auto named = byName_.find(name);
  if (named == byName_.end()) {
    return;
  }
  CLibrary* library = named->second;
  byName_.erase(named);
  const auto loaded = std::find_if(loadOrder_.begin(), loadOrder_.end(),
                                   [library](const auto& held) { return held.get() == library; });
  if (loaded != loadOrder_.end()) {
    std::unique_ptr<CLibrary> removed = std::move(*loaded);
    loadOrder_.erase(loaded);
  }
}

const CLibrary* CLibraryManager::find(const std::u16string& name) const {
  const auto named = byName_.find(name);
  return named != byName_.end() ? named->second : nullptr;
}

}  // namespace tavrel
