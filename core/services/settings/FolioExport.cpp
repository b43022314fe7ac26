#include "settings/FolioExport.h"

#include <new>

#include "Memory.h"
#include "ObjectWalker.h"
#include "settings/CoreAccess.h"
#include "settings/ExporterBinding.h"
#include "tavrel/excpt/Exception.h"

namespace tavrel::core {

bool exportFolio(const std::uint8_t* image, std::size_t bytes) {
  CExporterBinding exporter(programDirectory());
  return exporter.exportFolio(image, bytes);
}

std::vector<std::uint8_t> statFolioImage(const machine::Machine& m) {
  const std::uint32_t address = machine::read5(m, kStatFolioPointer);
  if (address == 0)
    throw excpt::ObjectStoreException5007(u"Not in a valid mode to store objects.");
  const std::uint32_t start = machine::hostNibblePosition(m, address);
  std::uint32_t size = machine::objectSize(m, start, start + (0x100000 - address));
  if (size <= 5)
    size = machine::objectSize(m, start, start + 0xFFFF);
  if (size < 6)
    return {};
  std::vector<std::uint8_t> image((size + 1) / 2, 0);
  for (std::uint32_t i = 0; i < size; ++i) {
    const std::uint32_t nibble = machine::readNibbles(m, address + i, 1);
    image[i / 2] |= static_cast<std::uint8_t>(nibble << (4 * (i & 1)));
  }
  return image;
}

void exportStatFolio() {
  ICoreAccess& core = coreAccess();
  std::vector<std::uint8_t> image;
  try {
    EmulationPaused paused(core);
    if (machine::Machine* m = core.machine())
      image = statFolioImage(*m);
  } catch (const std::bad_alloc&) {
    return;
  }
  if (!image.empty())
    exportFolio(image.data(), image.size());
}

}  // namespace tavrel::core
