#pragma once

#include <string>
#include <vector>

namespace tavrel {

// An ordered list of folders in which skin files are looked up; the folder added last is
// searched first. Folders are kept with a trailing separator.
class CSearchPath {
 public:
  // Raises excpt::EmptySearchFolderException (501) for an empty folder and
  // excpt::WildcardSearchException (502) for one holding "*" or "?".
  void addFolder(std::u16string folder);

  // The first folder + name that exists. Raises 502 for a name holding "*" or "?" and
  // excpt::NotInSearchPathException (503) when no folder has it, and also for an absolute
  // name or one that climbs out of its folder with "..", so a skin can only name files
  // inside the folders it is searched in.
  std::u16string find(std::u16string name) const;

  const std::vector<std::u16string>& folders() const { return folders_; }

 private:
  std::vector<std::u16string> folders_;
};

}  // namespace tavrel
