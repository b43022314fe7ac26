#include "settings/ExporterBinding.h"

#include <limits>

#include "tavrel/Text.h"

namespace tavrel::core {

namespace {
using ExportStatFolioDataWFn = std::uint8_t (*)(const void*, std::int32_t, const char16_t*);
}  // namespace

std::filesystem::path programDirectory() {
  std::error_code failure;
  return std::filesystem::read_symlink("/proc/self/exe", failure).parent_path();
}

CExporterBinding::CExporterBinding(std::filesystem::path programDirectory)
    : programDirectory_(std::move(programDirectory)) {}

CExporterBinding::~CExporterBinding() {
  unload();
}

bool CExporterBinding::load() {
  if (!tried_) {
    tried_ = true;
    // Written the way the data files name libraries; the framework maps them to our files.
    const std::u16string directory = fromUtf8(programDirectory_.string());
    const std::u16string name(kLibraryName);
    for (const std::u16string& candidate :
         {directory + u'\\' + name, directory + u"\\components\\" + name, name}) {
      if (library_.load(candidate))
        break;
    }
    std::error_code failure;
    savedDirectory_ = std::filesystem::current_path(failure);
  }
  return library_.isLoaded();
}

void CExporterBinding::unload() {
  if (library_.isLoaded())
    library_.unload();
  tried_ = false;
  if (!savedDirectory_.empty()) {
    std::error_code failure;
    std::filesystem::current_path(savedDirectory_, failure);
  }
}

bool CExporterBinding::exportFolio(const std::uint8_t* image, std::size_t bytes) {
  if (!load())
    return false;
  bool shown = false;
  const auto exportData = library_.resolveFunction<ExportStatFolioDataWFn>("ExportStatFolioDataW");
  if (exportData != nullptr && bytes <= std::numeric_limits<std::int32_t>::max())
    shown = exportData(image, static_cast<std::int32_t>(bytes), nullptr) != 0;
  unload();
  return shown;
}

}  // namespace tavrel::core
