#include "skin/SearchPath.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "skin/PathText.h"
#include "tavrel/excpt/Exception.h"

namespace tavrel {
namespace {

bool hasWildcard(const std::u16string& text) {
  return text.find_first_of(u"*?") != std::u16string::npos;
}

// Skin files are written with either separator; the platform's is "/".
std::u16string withSlashes(std::u16string text) {
  std::replace(text.begin(), text.end(), u'\\', u'/');
  return text;
}

bool staysInside(const std::u16string& name) {
  const std::filesystem::path path = toPath(name);
  if (path.has_root_directory() || path.has_root_name()) {
    return false;
  }
  return std::none_of(path.begin(), path.end(),
                      [](const std::filesystem::path& part) { return part == ".."; });
}

}  // namespace

void CSearchPath::addFolder(std::u16string folder) {
  if (folder.empty()) {
    throw excpt::EmptySearchFolderException();
  }
  if (hasWildcard(folder)) {
    throw excpt::WildcardSearchException();
  }
  folder = withSlashes(std::move(folder));
  if (folder.back() != u'/') {
    folder.push_back(u'/');
  }
  folders_.insert(folders_.begin(), std::move(folder));
}

std::u16string CSearchPath::find(std::u16string name) const {
  if (hasWildcard(name)) {
    throw excpt::WildcardSearchException();
  }
  name = withSlashes(std::move(name));
  if (!name.empty() && staysInside(name)) {
    for (const std::u16string& folder : folders_) {
      std::u16string candidate = folder + name;
      std::error_code error;
      if (std::filesystem::exists(toPath(candidate), error)) {
        return candidate;
      }
    }
  }
  throw excpt::NotInSearchPathException();
}

}  // namespace tavrel
