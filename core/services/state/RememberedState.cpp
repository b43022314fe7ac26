#include <filesystem>
#include <mutex>

#include "settings/CoreSettings.h"
#include "state/StateCommands.h"
#include "tavrel/SkinWindow.h"

namespace tavrel::core {

namespace {

struct Remembered {
  std::mutex mutex;
  std::u16string path;
};
Remembered& remembered() {
  static Remembered r;
  return r;
}

// The file name part of a path that may be written with either separator.
std::u16string_view fileNamePart(std::u16string_view path) {
  const std::size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::u16string rememberedStatePath() {
  std::lock_guard lock(remembered().mutex);
  return remembered().path;
}

void forgetRememberedState() {
  std::lock_guard lock(remembered().mutex);
  remembered().path.clear();
}

void rememberState(const std::u16string& path) {
  {
    std::lock_guard lock(remembered().mutex);
    remembered().path = path;
  }
  CRegistry& registry = coreRegistry();
  // A state file belongs to one skin and one ROM: earlier owners forget it.
  for (std::u16string_view parent : {kSkinsKey, kRomKey}) {
    const std::u16string parentKey = coreKey(parent);
    for (const std::u16string& child : registry.subKeys(parentKey)) {
      const std::u16string key = parentKey + u'\\' + child;
      if (registry.readText(key, u"Saved") == path)
        registry.deleteValue(key, u"Saved");
    }
  }
  for (const std::u16string& key : {currentSkinKey(), currentRomKey()}) {
    registry.createKey(u"", key);
    registry.writeText(key, u"Saved", path);
  }
}

void setWindowTitle(std::u16string path) {
  std::u16string title = currentSkinName();
  if (const std::size_t bracket = title.rfind(u'('); bracket != std::u16string::npos)
    title.resize(bracket);
  if (path.empty())
    path = coreRegistry().readText(currentSkinKey(), u"Open");
  if (!path.empty()) {
    title += u" - ";
    title += fileNamePart(path);
  }
  gui::skinWindow().setTitle(title);
}

}  // namespace tavrel::core
