#pragma once

#include <memory>
#include <string>

#include "tavrel/Export.h"

class QLibrary;

namespace tavrel {

// A dynamic library loaded by path. Names written the way data files write them
// ("components\command.dll") are mapped to this platform's file for the same library.
class TAVREL_API CDynamicLibrary {
 public:
  CDynamicLibrary();
  ~CDynamicLibrary();
  CDynamicLibrary(const CDynamicLibrary&) = delete;
  CDynamicLibrary& operator=(const CDynamicLibrary&) = delete;

  // On failure returns false with error() saying why; a library loaded before stays loaded.
  // On success a library loaded before is unloaded first.
  bool load(const std::u16string& path);
  // Destroys the singletons the library made, then unloads it. False when nothing was
  // loaded or the platform refused.
  bool unload();
  bool isLoaded() const;

  // The address of an export, or null when the library or the export is missing.
  void* resolve(const char* exportName) const;
  template <class F>
  F resolveFunction(const char* exportName) const {
    return reinterpret_cast<F>(resolve(exportName));
  }

  // The file actually loaded.
  const std::u16string& fileName() const { return fileName_; }
  const std::u16string& error() const { return error_; }

  // "dir\name.dll" -> "dir/name.so" (or "dir/libname.so" when only that exists); names in
  // the platform's own form pass unchanged apart from '\' becoming '/'.
  static std::u16string platformFileName(const std::u16string& name);

 private:
  void unloadCurrent();

  std::unique_ptr<QLibrary> library_;
  std::u16string fileName_;
  std::u16string error_;
};

}  // namespace tavrel
