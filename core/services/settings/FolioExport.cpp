#include "settings/FolioExport.h"

#include <new>

#include "Memory.h"
#include "objects/CalculatorStack.h"
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
  const std::uint32_t size = objects::storableObjectSize(m, address);
  if (size <= objects::kSmallestInvalidSize)
    return {};
  return objects::objectImageAt(m, address, size);
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
