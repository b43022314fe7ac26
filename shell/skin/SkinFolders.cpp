#include "skin/SkinFolders.h"

#include <system_error>

#include "skin/PathText.h"
#include "skin/SkinFile.h"
#include "tavrel/Text.h"

namespace tavrel {
namespace {

namespace fs = std::filesystem;

std::u16string reason(const std::error_code& error) {
  return fromUtf8(error.message());
}

}  // namespace

bool isSkinFolderName(const std::u16string& dir) {
  return !dir.empty() && dir != u"." && dir != u".." &&
         dir.find_first_of(u"/\\*?:") == std::u16string::npos;
}

std::optional<std::u16string> installedFolderOf(const fs::path& base, const fs::path& file) {
  std::error_code error;
  const fs::path skins = fs::weakly_canonical(base / toPath(kSkinsFolder), error);
  if (error) {
    return std::nullopt;
  }
  const fs::path folder = fs::weakly_canonical(fs::absolute(file, error).parent_path(), error);
  if (error || folder.parent_path() != skins) {
    return std::nullopt;
  }
  return pathText(folder.filename());
}

std::optional<std::u16string> copySkinFiles(const fs::path& base, const fs::path& sourceFolder,
                                            const std::u16string& dir) {
  if (!isSkinFolderName(dir)) {
    return u"\"" + dir + u"\" is not a folder name";
  }
  const fs::path target = base / toPath(kSkinsFolder) / toPath(dir);
  std::error_code error;
  const bool made = fs::create_directories(target, error);
  if (error) {
    return reason(error);
  }
  if (fs::is_symlink(target, error)) {
    return u"\"" + dir + u"\" is a link";
  }
  for (fs::directory_iterator it(sourceFolder, error), end; !error && it != end;
       it.increment(error)) {
    std::error_code fileError;
    if (!it->is_regular_file(fileError)) {
      continue;
    }
    fs::copy_file(it->path(), target / it->path().filename(), fs::copy_options::overwrite_existing,
                  error);
    if (error) {
      break;
    }
  }
  if (error) {
    if (made) {
      std::error_code ignored;
      fs::remove_all(target, ignored);
    }
    return reason(error);
  }
  return std::nullopt;
}

std::optional<std::u16string> deleteSkinFolder(const fs::path& base, const std::u16string& dir) {
  if (!isSkinFolderName(dir)) {
    return u"\"" + dir + u"\" is not a folder name";
  }
  std::error_code error;
  fs::remove_all(base / toPath(kSkinsFolder) / toPath(dir), error);
  if (error) {
    return reason(error);
  }
  return std::nullopt;
}

}  // namespace tavrel
