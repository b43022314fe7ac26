#pragma once

#include <string>

#include "tavrel/DynamicLibrary.h"
#include "tavrel/Text.h"
#include "tavrel/command/PluginEntry.h"
#include "tavrel/fn/Function.h"

namespace tavrel {

// One loaded plug-in. Its construction loads the file and runs the plug-in's import; its
// destruction runs closeLibrary and unloads it.
class CLibrary {
 public:
  // See load().
  CLibrary(const std::u16string& path, excpt::CExceptionHub* hub, CommandInterface* commands);
  ~CLibrary();
  CLibrary(const CLibrary&) = delete;
  CLibrary& operator=(const CLibrary&) = delete;

  // Unlinks what is loaded, loads the file and calls its import under the process lock.
  // Raises LibraryLoadException (4) when the file cannot be loaded, MissingImportException
  // (1) when it exports no import; an exception out of import unlinks the library and
  // passes on unchanged.
  void load(const std::u16string& path, excpt::CExceptionHub* hub, CommandInterface* commands);
  // Calls closeLibrary (if any) under the process lock and unloads the module; a failed
  // unload is shown in an error box. Nothing happens when nothing is loaded.
  void unlink();

  // Binds the named export into function, or empties it when the export is missing. The
  // function runs code of this library: drop it before the library is unlinked.
  template <class R, class... P>
  bool bindExport(const std::u16string& name,
                  fn::BasicFunction<R, fn::detail::TypeList<P...>>& function) const {
    using Bound = fn::BasicFunction<R, fn::detail::TypeList<P...>>;
    auto* address = module_.resolveFunction<R (*)(P...)>(toUtf8(name).c_str());
    function = address != nullptr ? Bound(address) : Bound();
    return address != nullptr;
  }

  const std::u16string& path() const { return path_; }
  bool isLoaded() const { return module_.isLoaded(); }

 private:
  std::u16string path_;
  fn::Function<fn::ret<void>> closeLibrary_;
  CDynamicLibrary module_;
};

}  // namespace tavrel
