#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "loader/Library.h"
#include "tavrel/Registry.h"

namespace tavrel {

// The named set of loaded plug-ins. Used as TSingleton<CLibraryManager>; libraries are
// destroyed (closeLibrary, unload) from the last loaded to the first.
class CLibraryManager {
 public:
  static constexpr std::u16string_view kSubKey = u"lib";
  static constexpr std::u16string_view kFolderValue = u"dir";
  static constexpr std::u16string_view kListValue = u"values";
  static constexpr std::u16string_view kDefaultFolder = u"components";
  static std::vector<std::u16string> defaultList();

  // Over the process's settings store, exception hub and command interface.
  CLibraryManager();
  CLibraryManager(CRegistry& registry, excpt::CExceptionHub& hub, CommandInterface& commands);
  ~CLibraryManager();
  CLibraryManager(const CLibraryManager&) = delete;
  CLibraryManager& operator=(const CLibraryManager&) = delete;

  // Reads the folder and the list below "lib" (writing the defaults where they are empty or
  // absent) and loads every "name#file" entry in order; entries without "#" are skipped.
  // The first exception of a library passes on; the ones loaded before it stay loaded.
  void loadList();
  // Loads folder + fileName and files it under name (replacing an earlier entry of that
  // name in the map; the earlier library stays loaded until the manager goes). Exceptions
  // of CLibrary pass on and nothing is filed.
  void loadLibrary(const std::u16string& name, const std::u16string& fileName);
  // Unlinks and forgets the library of that name; nothing for a name not loaded.
  void unloadLibrary(const std::u16string& name);

  // Binds an export of the named library into function; empty when the library is not
  // loaded or lacks the export.
  template <class R, class... P>
  bool bindExport(const std::u16string& libraryName, const std::u16string& exportName,
                  fn::BasicFunction<R, fn::detail::TypeList<P...>>& function) const {
    const CLibrary* library = find(libraryName);
    if (library == nullptr) {
      function = {};
      return false;
    }
    return library->bindExport(exportName, function);
  }

  const CLibrary* find(const std::u16string& name) const;
  // The plug-in folder, ending in a folder separator ("components\" by default).
  const std::u16string& folder() const { return folder_; }
  void setFolder(std::u16string folder);
  std::size_t loadedCount() const { return loadOrder_.size(); }

 private:
  std::u16string readFolder();
  std::vector<std::u16string> readList();

  CRegistry& registry_;
  excpt::CExceptionHub& hub_;
  CommandInterface& commands_;
  std::u16string folder_ = u"components\\";
  std::vector<std::unique_ptr<CLibrary>> loadOrder_;
  std::map<std::u16string, CLibrary*> byName_;
};

}  // namespace tavrel
