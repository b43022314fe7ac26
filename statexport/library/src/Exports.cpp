// The library's exported functions: each picks where the folio comes from and how the table
// is shown.
#include "tavrel/statexport/ZRStatFolioExport.h"

#include <cstdio>
#include <exception>
#include <functional>
#include <string>

#include "CalculatorLine.h"
#include "CodePage.h"
#include "LibraryContext.h"
#include "MessageBoxReporter.h"
#include "ReceiveFolioDialog.h"
#include "StatTableDialog.h"

#define ZR_EXPORT __attribute__((visibility("default")))

namespace tavrel::statexport {
namespace {

using Load = std::function<bool(StatFolioData&)>;

// Nothing may escape into a caller that knows no C++ exceptions.
template <typename Export>
std::uint8_t guarded(Export run) noexcept {
  try {
    return run();
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "ZRStatFolioExport: %s\n", failure.what());
  } catch (...) {
    std::fputs("ZRStatFolioExport: unexpected failure\n", stderr);
  }
  return 0;
}

std::string narrow(const char16_t* text) {
  return text ? toCodePage(std::u16string_view(text)) : std::string();
}
std::string narrow(const char* text) {
  return text ? std::string(text) : std::string();
}

std::uint8_t showModal(const Load& load) {
  if (!LibraryContext::instance().ensureApplication()) {
    return 0;
  }
  CZRStatFolioExportDlg dialog;
  if (!load(dialog.data())) {
    return 0;
  }
  dialog.fillGrid();
  dialog.exec();
  return 1;
}

std::uint8_t exportFile(const std::string& path) {
  if (path.empty()) {
    return 0;
  }
  return showModal([&path](StatFolioData& data) { return data.loadFromFile(path); });
}

std::uint8_t exportFileModeless(const std::string& path) {
  if (path.empty() || !LibraryContext::instance().ensureApplication()) {
    return 0;
  }
  CZRStatFolioExportDlg& dialog = LibraryContext::instance().pool().pick();
  if (!dialog.data().loadFromFile(path)) {
    return 0;
  }
  dialog.fillGrid();
  dialog.show();
  dialog.raise();
  return 1;
}

std::uint8_t exportData(const void* data, std::int32_t length, const std::string& name) {
  if (data == nullptr || length <= 0) {
    return 0;
  }
  return showModal([&](StatFolioData& folio) {
    return folio.loadFromData(static_cast<const std::uint8_t*>(data),
                              static_cast<std::size_t>(length), name);
  });
}

std::uint8_t exportReceived() {
  if (!LibraryContext::instance().ensureApplication()) {
    return 0;
  }
  std::string error;
  const std::unique_ptr<link::IByteTransport> line =
      openCalculatorLine(configuredCalculatorLine(), error);
  if (!line) {
    MessageBoxReporter().reportError(error);
    return 0;
  }
  std::vector<std::uint8_t> image;
  {
    CReceiveFolioDialog receive(*line);
    if (receive.exec() != QDialog::Accepted) {
      return 0;
    }
    image = receive.takeImage();
  }
  if (image.empty()) {
    return 0;
  }
  return showModal(
      [&image](StatFolioData& data) { return data.loadFromReceived(image.data(), image.size()); });
}

}  // namespace
}  // namespace tavrel::statexport

namespace se = tavrel::statexport;

extern "C" {

ZR_EXPORT std::uint8_t ExportStatFolioW(const char16_t* path) {
  return se::guarded([&] { return se::exportFile(se::narrow(path)); });
}

ZR_EXPORT std::uint8_t ExportStatFolioA(const char* path) {
  return se::guarded([&] { return se::exportFile(se::narrow(path)); });
}

ZR_EXPORT std::uint8_t ExportStatFolioModelessW(const char16_t* path) {
  return se::guarded([&] { return se::exportFileModeless(se::narrow(path)); });
}

ZR_EXPORT std::uint8_t ExportStatFolioModelessA(const char* path) {
  return se::guarded([&] { return se::exportFileModeless(se::narrow(path)); });
}

ZR_EXPORT std::uint8_t ExportStatFolioUSB() {
  return se::guarded([] { return se::exportReceived(); });
}

ZR_EXPORT std::uint8_t ExportStatFolioDataW(const void* data, std::int32_t length,
                                            const char16_t* name) {
  return se::guarded([&] { return se::exportData(data, length, se::narrow(name)); });
}

ZR_EXPORT std::uint8_t ExportStatFolioDataA(const void* data, std::int32_t length,
                                            const char* name) {
  return se::guarded([&] { return se::exportData(data, length, se::narrow(name)); });
}
}
