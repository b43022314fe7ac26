// A stand-in exporter: writes what ExportStatFolioDataW received to the file named by
// TAVREL_RECORDED_FOLIO (the bytes, then "null" or "name"), moves the current directory the
// way the real dialogs may, and answers like the real one.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>

extern "C" __attribute__((visibility("default"))) std::uint8_t ExportStatFolioDataW(
    const void* data, std::int32_t length, const char16_t* name) {
  if (const char* record = std::getenv("TAVREL_RECORDED_FOLIO")) {
    std::ofstream out(record, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), length);
    out << (name == nullptr ? "null" : "name");
  }
  if (chdir("/") != 0)
    return 0;
  return data != nullptr && length > 0 ? 1 : 0;
}
