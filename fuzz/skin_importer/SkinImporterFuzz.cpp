// Feeds arbitrary XML text to the skin importer, as the shell reads a skin file: it may
// refuse the skin with a coded exception (a picture that is not there), never crash.
#include <cstdint>
#include <variant>

#include "DocumentEvents.h"
#include "EventDelivery.h"
#include "FuzzCommandCache.h"
#include "skin/SkinImporter.h"
#include "tavrel/excpt/Exception.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavrel;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  auto document = xml::readDocumentEvents(bytes);
  auto* events = std::get_if<std::vector<xml::DocumentEvent>>(&document);
  if (events == nullptr) {
    return 0;
  }
  SkinDescription skin;
  KeyMap keys;
  fuzz::CFuzzCommandCache cache;
  skin.prepareLoad();
  try {
    xml::deliverEvents(*events, new CSkinImporter(SkinImportTarget{skin, keys, &cache, {}, {}},
                                                  viewSearchPath(u"data/skins", u"fuzz")));
  } catch (const excpt::IException&) {
    // A missing picture refuses the skin, as in the program.
  }
  return 0;
}
