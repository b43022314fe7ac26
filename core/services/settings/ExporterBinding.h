// The statistics folio exporter, looked for beside the program, in its "components" folder,
// then by name through the platform's library search; loaded for one export and freed after.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "tavrel/DynamicLibrary.h"

namespace tavrel::core {

class CExporterBinding {
 public:
  static constexpr std::u16string_view kLibraryName = u"ZRStatFolioExport.dll";

  explicit CExporterBinding(std::filesystem::path programDirectory);
  ~CExporterBinding();
  CExporterBinding(const CExporterBinding&) = delete;
  CExporterBinding& operator=(const CExporterBinding&) = delete;

  // loadExporter: true when the library was found. Tried once until the next unload.
  bool load();
  // unloadExporter: frees the library and goes back to the directory current at load.
  void unload();
  // Loads, calls ExportStatFolioDataW(image, bytes, null), unloads; its result, or false
  // when the library or the export is missing.
  bool exportFolio(const std::uint8_t* image, std::size_t bytes);

  // Where the exporter was found.
  const std::u16string& libraryFile() const { return library_.fileName(); }

 private:
  std::filesystem::path programDirectory_;
  CDynamicLibrary library_;
  bool tried_ = false;
  std::filesystem::path savedDirectory_;
};

// The folder of the running program.
std::filesystem::path programDirectory();

}  // namespace tavrel::core
