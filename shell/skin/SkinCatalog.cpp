#include "skin/SkinCatalog.h"

#include <algorithm>
#include <cstdio>
#include <system_error>
#include <vector>

#include "skin/PathText.h"
#include "skin/SkinFile.h"
#include "tavrel/Text.h"

namespace tavrel {
namespace {

namespace fs = std::filesystem;

// Bounds a listing, so a folder full of entries cannot stall the program.
constexpr std::size_t kMaxSkinFolders = 4096;

std::vector<fs::path> skinFolders() {
  std::vector<fs::path> folders;
  std::error_code error;
  for (fs::directory_iterator it(toPath(kSkinsFolder), error), end; !error && it != end;
       it.increment(error)) {
    std::error_code typeError;
    if (it->is_directory(typeError) &&
        fs::is_regular_file(it->path() / toPath(kSkinFileName), typeError)) {
      folders.push_back(it->path());
      if (folders.size() == kMaxSkinFolders) {
        std::fprintf(stderr, "skins: only the first %zu skin folders are listed\n",
                     kMaxSkinFolders);
        break;
      }
    }
  }
  std::sort(folders.begin(), folders.end());
  return folders;
}

}  // namespace

InstalledSkins CSkinCatalog::installed() {
  if (!kept_.empty()) {
    std::error_code error;
    fs::current_path(keptFolder_, error);
    return kept_;
  }
  InstalledSkins found = enumerate();
  if (!found.empty()) {
    kept_ = found;
    std::error_code error;
    keptFolder_ = fs::current_path(error);
  }
  return found;
}

std::optional<std::u16string> CSkinCatalog::folderOf(const std::u16string& name) {
  const InstalledSkins skins = installed();
  auto skin = skins.find(name);
  if (skin == skins.end()) {
    return std::nullopt;
  }
  return skin->second;
}

void CSkinCatalog::add(const std::u16string& name, const std::u16string& folder) {
  kept_[name] = folder;
  std::error_code error;
  keptFolder_ = fs::current_path(error);
}

void CSkinCatalog::forget() {
  kept_.clear();
  keptFolder_.clear();
}

InstalledSkins CSkinCatalog::enumerate() const {
  InstalledSkins skins;
  for (const fs::path& folder : skinFolders()) {
    const std::u16string file = pathText(folder / toPath(kSkinFileName));
    try {
      SkinName skin = readSkinName(xml_, file);
      if (skin.name.empty()) {
        std::fprintf(stderr, "skins: %s names no skin\n", toUtf8(file).c_str());
        continue;
      }
      skins[skin.name] = pathText(folder.filename());
    } catch (const xml::XMLParseException& refused) {
      std::fprintf(stderr, "skins: %s\n", toUtf8(refused.handler().message).c_str());
    }
  }
  return skins;
}

}  // namespace tavrel
